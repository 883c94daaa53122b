#pragma once
// The text and number conversions the window's procedures rely on, and the guarded
// 16-bit arithmetic. Every conversion is strict: what it does not accept raises a
// RuntimeError rather than yielding a guess.

#include <cstdint>

#include "toolkit/text.h"

namespace pelmora {

// "&H" followed by 1 to 8 ASCII hexadecimal digits, to a signed 32-bit integer. Up to
// four digits give their unsigned value (FFFF is 65535); eight digits wrap into the signed
// range. Anything else (a blank, a sign, a second prefix, a full-width digit) is a
// TypeMismatch.
std::int32_t hexPrefixedToLong(TextView text);

// Decimal text to a signed 16-bit integer. Blanks around the number and one leading sign
// are accepted; anything else is a TypeMismatch, a number outside -32768..32767 an Overflow.
std::int16_t textToInteger(TextView text);

// Decimal text of a number, without a leading blank.
Text decimalText(std::int64_t value);

// Upper-case hexadecimal text without leading zeros ("0" for zero).
Text hexText(std::uint32_t value);

// 16-bit arithmetic that raises Overflow instead of wrapping.
std::int16_t checkedAdd(std::int16_t a, std::int16_t b);
std::int16_t checkedMul(std::int16_t a, std::int16_t b);

} // namespace pelmora
