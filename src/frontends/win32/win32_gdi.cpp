#include "win32_gdi.h"

#include <vector>

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

namespace {

HFONT createFont(const Font& font, int dpi, DWORD charset) {
    const std::wstring face = toWide(font.face);
    return CreateFontW(-view::fontPixelHeight(font.points, dpi), 0, 0, 0,
                       font.bold ? FW_BOLD : FW_NORMAL, font.italic ? TRUE : FALSE, FALSE, FALSE,
                       charset, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, face.c_str());
}

// Whether Chinese text drawn in `font` shows its characters rather than the box of a
// missing glyph: two different characters never look alike, two boxes always do.
bool drawsChinese(HFONT font) {
    const wchar_t probe[] = L"\u6570\u636E"; // 数据
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ oldFont = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32W(dc, probe, 1, &size);
    const int width = size.cx > 0 ? size.cx : 1, height = size.cy > 0 ? size.cy : 1;
    HBITMAP bitmap = CreateBitmap(width, height, 1, 1, nullptr);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    std::vector<BYTE> pictures[2];
    for (int i = 0; i < 2; ++i) {
        PatBlt(dc, 0, 0, width, height, WHITENESS);
        TextOutW(dc, 0, 0, probe + i, 1);
        pictures[i].resize(static_cast<std::size_t>((width + 15) / 16 * 2 * height));
        GetBitmapBits(bitmap, static_cast<LONG>(pictures[i].size()), pictures[i].data());
    }
    SelectObject(dc, oldBitmap);
    SelectObject(dc, oldFont);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return pictures[0] != pictures[1];
}

} // namespace

HFONT FontCache::font(const Font& font) {
    for (const Entry& entry : fonts_)
        if (entry.font == font) return entry.handle.get();
    // A face the system lacks is left to GDI's own substitution, guided by the
    // character set: GB2312 text still finds a Chinese face.
    HFONT handle = createFont(font, dpi_, static_cast<DWORD>(font.charset));
    // Windows links its Western faces to a Chinese one for the captions' Chinese
    // characters. Where nothing does (Wine outside a Chinese locale), they would show as
    // boxes; asking for the Chinese character set then lets the mapper pick a face with
    // them. Where the Western face draws them already, nothing changes.
    if (font.charset != GB2312_CHARSET && !drawsChinese(handle)) {
        DeleteObject(handle);
        handle = createFont(font, dpi_, GB2312_CHARSET);
    }
    fonts_.push_back({font, GdiHandle<HFONT>(handle)});
    return handle;
}

void FontCache::setDpi(int dpi) {
    dpi_ = dpi;
    fonts_.clear();
}

} // namespace pelmora::win32
