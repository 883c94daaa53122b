#include "toolkit/convert.h"

#include "toolkit/errors.h"

namespace pelmora {
namespace {

int hexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    return -1;
}

bool isBlank(char16_t c) { return c == u' ' || c == u'\t'; }

std::int16_t checked(std::int32_t wide) {
    if (wide < INT16_MIN || wide > INT16_MAX)
        throw RuntimeError(ErrorCode::Overflow, "16-bit overflow");
    return static_cast<std::int16_t>(wide);
}

} // namespace

std::int32_t hexPrefixedToLong(TextView text) {
    const auto mismatch = [] { return RuntimeError(ErrorCode::TypeMismatch, "not a hex number"); };
    if (text.size() < 3 || text.size() > 10 || text[0] != u'&' ||
        (text[1] != u'H' && text[1] != u'h'))
        throw mismatch();
    std::uint32_t value = 0;
    for (char16_t c : text.substr(2)) {
        const int d = hexDigit(c);
        if (d < 0) throw mismatch();
        value = value * 16 + static_cast<std::uint32_t>(d);
    }
    return static_cast<std::int32_t>(value);
}

std::int16_t textToInteger(TextView text) {
    std::size_t pos = 0, end = text.size();
    while (pos < end && isBlank(text[pos])) ++pos;
    while (end > pos && isBlank(text[end - 1])) --end;
    bool negative = false;
    if (pos < end && (text[pos] == u'+' || text[pos] == u'-')) negative = text[pos++] == u'-';
    if (pos == end) throw RuntimeError(ErrorCode::TypeMismatch, "not a number");
    std::int32_t magnitude = 0;
    for (; pos < end; ++pos) {
        if (text[pos] < u'0' || text[pos] > u'9')
            throw RuntimeError(ErrorCode::TypeMismatch, "not a number");
        magnitude = magnitude * 10 + (text[pos] - u'0');
        if (magnitude > 32768) throw RuntimeError(ErrorCode::Overflow, "16-bit overflow");
    }
    return checked(negative ? -magnitude : magnitude);
}

Text decimalText(std::int64_t value) {
    const bool negative = value < 0;
    std::uint64_t magnitude =
        negative ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    Text digits;
    do {
        digits.insert(digits.begin(), static_cast<char16_t>(u'0' + magnitude % 10));
        magnitude /= 10;
    } while (magnitude != 0);
    if (negative) digits.insert(digits.begin(), u'-');
    return digits;
}

Text hexText(std::uint32_t value) {
    static constexpr char16_t digitsOf[] = u"0123456789ABCDEF";
    Text digits;
    do {
        digits.insert(digits.begin(), digitsOf[value & 0xF]);
        value >>= 4;
    } while (value != 0);
    return digits;
}

std::int16_t checkedAdd(std::int16_t a, std::int16_t b) { return checked(std::int32_t{a} + b); }
std::int16_t checkedMul(std::int16_t a, std::int16_t b) { return checked(std::int32_t{a} * b); }

} // namespace pelmora
