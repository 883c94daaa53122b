#pragma once
// The core's UTF-16 text and the wide strings of the Windows API are the same code
// units; these copy between them unchanged, lone surrogates included.

#include <windows.h>

#include <string>

#include "toolkit/text.h"

namespace pelmora::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "the wide API is UTF-16");

inline std::wstring toWide(TextView text) { return std::wstring(text.begin(), text.end()); }

inline Text fromWide(std::wstring_view text) { return Text(text.begin(), text.end()); }

// The whole window text of `hwnd`, however long.
inline Text windowText(HWND hwnd) {
    const int length = GetWindowTextLengthW(hwnd);
    std::wstring buffer(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(hwnd, buffer.data(), length + 1);
    buffer.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return fromWide(buffer);
}

} // namespace pelmora::win32
