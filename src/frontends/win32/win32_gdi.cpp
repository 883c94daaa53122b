#include "win32_gdi.h"

#include "view/look.h"
#include "win32_text.h"

namespace pelmora::win32 {
namespace {

int CALLBACK foundFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0; // one is enough
}

// Whether the system has `face`, by its own name or as a font substitute names it.
bool installed(const Text& face) {
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    toWide(face).copy(wanted.lfFaceName, LF_FACESIZE - 1);
    bool found = false;
    HDC dc = GetDC(nullptr);
    EnumFontFamiliesExW(dc, &wanted, &foundFace, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, dc);
    return found;
}

} // namespace

HBRUSH GdiCache::brush(COLORREF colour) {
    auto it = brushes_.find(colour);
    if (it == brushes_.end())
        it = brushes_.emplace(colour, GdiHandle<HBRUSH>(CreateSolidBrush(colour))).first;
    return it->second.get();
}

HFONT GdiCache::font(const Font& font, int pixelHeight) {
    for (const Entry& entry : fonts_)
        if (entry.font == font && entry.pixelHeight == pixelHeight) return entry.handle.get();
    LOGFONTW logFont{}; // default precision, quality and pitch
    logFont.lfHeight = -pixelHeight;
    logFont.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    logFont.lfItalic = font.italic;
    logFont.lfCharSet = static_cast<BYTE>(font.charset);
    Text face = font.face;
    if (!installed(face)) {
        logFont.lfCharSet = GB2312_CHARSET;
        for (const Text& substitute : view::substituteFaces(font.face))
            if (installed(substitute)) {
                if (view::coversGb2312(substitute)) face = substitute;
                break;
            }
    }
    toWide(face).copy(logFont.lfFaceName, LF_FACESIZE - 1);
    fonts_.push_back({font, pixelHeight, GdiHandle<HFONT>(CreateFontIndirectW(&logFont))});
    return fonts_.back().handle.get();
}

} // namespace pelmora::win32
