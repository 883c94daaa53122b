// Numbers read and written as the window's procedures expect, and 16-bit arithmetic.
#include <gtest/gtest.h>

#include "toolkit/convert.h"
#include "toolkit/errors.h"

namespace pelmora {
namespace {

// What a conversion gives, or the code of the error it raises.
template <class Convert> std::string outcome(Convert convert) {
    try {
        return std::to_string(convert());
    } catch (const RuntimeError& e) {
        return e.code() == ErrorCode::Overflow ? "overflow" : "mismatch";
    }
}

TEST(Convert, HexPartsAreStrict) {
    const std::pair<Text, const char*> parsed[] = {
        {u"0", "0"},
        {u"1F", "31"},
        {u"fff", "4095"},
        {u"FFFF", "65535"},
        {u"0000", "0"},
        {u"ffffFFFF", "-1"},
        {u"80000000", "-2147483648"},
    };
    for (const auto& [part, value] : parsed)
        EXPECT_EQ(outcome([&] { return hexPrefixedToLong(u"&H" + part); }), value);
    for (const Text part : {u"", u"G", u"-1", u"+1", u"1 2", u" 1", u"1 ", u"&H1", u"１", u"1.0",
                            u"123456789", u"\U0001F600"})
        EXPECT_EQ(outcome([&] { return hexPrefixedToLong(u"&H" + part); }), "mismatch")
            << toUtf8(part);
    EXPECT_EQ(outcome([] { return hexPrefixedToLong(u"1F"); }), "mismatch"); // needs "&H"
}

TEST(Convert, DecimalIntegers) {
    const std::pair<Text, const char*> parsed[] = {
        {u"3", "3"},  {u" 10 ", "10"}, {u"\t7", "7"},       {u"-1", "-1"},
        {u"+5", "5"}, {u"007", "7"},   {u"32767", "32767"}, {u"-32768", "-32768"},
    };
    for (const auto& [text, value] : parsed)
        EXPECT_EQ(outcome([&] { return textToInteger(text); }), value) << toUtf8(text);
    for (const Text text : {u"32768", u"-32769", u"99999999999999999999"})
        EXPECT_EQ(outcome([&] { return textToInteger(text); }), "overflow") << toUtf8(text);
    for (const Text text :
         {u"", u" ", u"-", u"a", u"1.5", u"1e2", u"&H10", u"1,000", u"2,3", u"--1", u"1 2", u"３"})
        EXPECT_EQ(outcome([&] { return textToInteger(text); }), "mismatch") << toUtf8(text);
}

TEST(Convert, NumberTextsAndSixteenBitArithmetic) {
    const std::pair<Text, Text> texts[] = {
        {decimalText(0), u"0"}, {decimalText(31), u"31"}, {decimalText(-7), u"-7"},
        {hexText(0), u"0"},     {hexText(0x1F), u"1F"},   {hexText(0xFFFFFFFFu), u"FFFFFFFF"}};
    for (const auto& [written, expected] : texts) EXPECT_EQ(written, expected);
    EXPECT_EQ(outcome([] { return checkedMul(300, 31); }), "9300");
    EXPECT_EQ(outcome([] { return checkedAdd(32766, 1); }), "32767");
    EXPECT_EQ(outcome([] { return checkedAdd(32767, 1); }), "overflow");
    EXPECT_EQ(outcome([] { return checkedMul(256, 128); }), "overflow");
    EXPECT_EQ(outcome([] { return checkedAdd(-32768, -1); }), "overflow");
}

} // namespace
} // namespace pelmora
