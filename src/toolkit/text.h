#pragma once
// Text as the controls hold it: UTF-16, the native string of Windows, Qt and the browser, so a
// person's text reaches the core unchanged, lone surrogates included. "Characters" here
// are what a person sees as one: a surrogate pair counts once, a lone surrogate once.

#include <cstddef>
#include <string>
#include <string_view>

namespace pelmora {

using Text = std::u16string;
using TextView = std::u16string_view;

// Number of characters (code points; a lone surrogate counts as one).
std::size_t characterCount(TextView text);

// True when the count is above `limit`, without walking past it: a megabyte of pasted
// text costs no more than a short one.
bool hasMoreCharactersThan(TextView text, std::size_t limit);

// The first `count` characters, and the characters from 1-based position `start` to
// the end. Neither ever splits a surrogate pair.
Text leftCharacters(TextView text, std::size_t count);
Text charactersFrom(TextView text, std::size_t start);

// The text without its last character.
Text withoutLastCharacter(TextView text);

// 1-based position of the first `needle` unit, 0 when absent (counted in characters).
std::size_t findCharacter(TextView text, char16_t needle);

// Conversions at the edges (tests, front ends that speak UTF-8). Invalid input becomes
// U+FFFD rather than being dropped.
Text fromUtf8(std::string_view utf8);
std::string toUtf8(TextView text);

} // namespace pelmora
