#pragma once
// The core's UTF-16 text and the wide strings of the Windows API are the same code
// units; these copy between them unchanged, lone surrogates included.

#include <string>

#include "toolkit/text.h"

namespace pelmora::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "the wide API is UTF-16");

inline std::wstring toWide(TextView text) { return std::wstring(text.begin(), text.end()); }

inline Text fromWide(std::wstring_view text) { return Text(text.begin(), text.end()); }

} // namespace pelmora::win32
