#include "win32_gdi.h"

#include "view/layout.h"
#include "win32_text.h"

namespace pelmora::win32 {

COLORREF toColorRef(Colour colour) {
    if (isSystemColour(colour)) return GetSysColor(systemColourIndex(colour));
    return static_cast<COLORREF>(colour & 0xFFFFFFu);
}

HBRUSH BrushCache::brush(COLORREF colour) {
    auto it = brushes_.find(colour);
    if (it == brushes_.end())
        it = brushes_.emplace(colour, GdiHandle<HBRUSH>(CreateSolidBrush(colour))).first;
    return it->second.get();
}

HFONT FontCache::font(const Font& font) {
    for (const Entry& entry : fonts_)
        if (entry.font == font) return entry.handle.get();
    // A face the system lacks is left to GDI's own substitution, guided by the
    // character set: GB2312 text still finds a Chinese face.
    const std::wstring face = toWide(font.face);
    HFONT handle = CreateFontW(-view::fontPixelHeight(font.points, dpi_), 0, 0, 0,
                               font.bold ? FW_BOLD : FW_NORMAL, font.italic ? TRUE : FALSE,
                               FALSE, FALSE, static_cast<DWORD>(font.charset),
                               OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                               DEFAULT_PITCH | FF_DONTCARE, face.c_str());
    fonts_.push_back({font, GdiHandle<HFONT>(handle)});
    return handle;
}

void FontCache::setDpi(int dpi) {
    dpi_ = dpi;
    fonts_.clear();
}

} // namespace pelmora::win32
