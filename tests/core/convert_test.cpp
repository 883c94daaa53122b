#include <gtest/gtest.h>

#include <optional>

#include "toolkit/convert.h"
#include "toolkit/errors.h"

namespace pelmora {
namespace {

struct HexCase {
    Text part; // what follows "&H"
    std::optional<std::int32_t> value;
};

TEST(Convert, HexPartsAreStrict) {
    const HexCase cases[] = {
        {u"0", 0},
        {u"1F", 31},
        {u"fff", 4095},
        {u"FFFF", 65535},
        {u"0000", 0},
        {u"ffffFFFF", -1},
        {u"80000000", INT32_MIN},
        {u"", std::nullopt},
        {u"G", std::nullopt},
        {u"-1", std::nullopt},
        {u"+1", std::nullopt},
        {u"1 2", std::nullopt},
        {u" 1", std::nullopt},
        {u"1 ", std::nullopt},
        {u"&H1", std::nullopt},
        {u"１", std::nullopt},
        {u"1.0", std::nullopt},
        {u"123456789", std::nullopt},
        {u"\U0001F600", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(toUtf8(c.part));
        if (c.value) {
            EXPECT_EQ(hexPrefixedToLong(u"&H" + c.part), *c.value);
        } else {
            EXPECT_THROW(hexPrefixedToLong(u"&H" + c.part), RuntimeError);
        }
    }
    EXPECT_THROW(hexPrefixedToLong(u"1F"), RuntimeError); // the prefix is required
}

struct DecimalCase {
    Text text;
    std::optional<std::int16_t> value;
    ErrorCode error = ErrorCode::TypeMismatch;
};

TEST(Convert, DecimalIntegers) {
    const DecimalCase cases[] = {
        {u"3", 3},
        {u" 10 ", 10},
        {u"\t7", 7},
        {u"-1", -1},
        {u"+5", 5},
        {u"007", 7},
        {u"32767", 32767},
        {u"-32768", -32768},
        {u"32768", std::nullopt, ErrorCode::Overflow},
        {u"-32769", std::nullopt, ErrorCode::Overflow},
        {u"99999999999999999999", std::nullopt, ErrorCode::Overflow},
        {u"", std::nullopt},
        {u" ", std::nullopt},
        {u"-", std::nullopt},
        {u"a", std::nullopt},
        {u"1.5", std::nullopt},
        {u"1e2", std::nullopt},
        {u"&H10", std::nullopt},
        {u"1,000", std::nullopt},
        {u"2,3", std::nullopt},
        {u"--1", std::nullopt},
        {u"1 2", std::nullopt},
        {u"３", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(toUtf8(c.text));
        if (c.value) {
            EXPECT_EQ(textToInteger(c.text), *c.value);
        } else {
            try {
                textToInteger(c.text);
                ADD_FAILURE() << "converted";
            } catch (const RuntimeError& e) {
                EXPECT_EQ(e.code(), c.error);
            }
        }
    }
}

TEST(Convert, NumberTexts) {
    EXPECT_EQ(decimalText(0), u"0");
    EXPECT_EQ(decimalText(31), u"31");
    EXPECT_EQ(decimalText(-7), u"-7");
    EXPECT_EQ(hexText(0), u"0");
    EXPECT_EQ(hexText(0x1F), u"1F");
    EXPECT_EQ(hexText(0xFFFFFFFFu), u"FFFFFFFF");
}

TEST(Convert, SixteenBitArithmeticIsGuarded) {
    EXPECT_EQ(checkedMul(300, 31), 9300);
    EXPECT_EQ(checkedAdd(32766, 1), 32767);
    EXPECT_THROW(checkedAdd(32767, 1), RuntimeError);
    EXPECT_THROW(checkedMul(256, 128), RuntimeError);
    EXPECT_THROW(checkedAdd(-32768, -1), RuntimeError);
}

} // namespace
} // namespace pelmora
