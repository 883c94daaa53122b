#include "win32_platform.h"

#include <iterator>

#include "win32_text.h"

namespace pelmora::win32 {

void Win32Platform::messageBox(const Text& prompt, int flags, const Text& title) {
    // The design's flags are MessageBox's own: 16 is MB_ICONSTOP with MB_OK.
    const std::wstring text = toWide(prompt), caption = toWide(title);
    MessageBoxW(owner_, text.c_str(), caption.c_str(), static_cast<UINT>(flags));
}

Text Win32Platform::timeOfDayText() {
    // A null time is the current local time; the format is the user's, time only.
    wchar_t buffer[128] = {};
    const int written = GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, nullptr, nullptr, buffer,
                                        static_cast<int>(std::size(buffer)));
    if (written <= 1) return Text();
    return fromWide(std::wstring_view(buffer, static_cast<std::size_t>(written - 1)));
}

} // namespace pelmora::win32
