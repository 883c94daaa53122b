#pragma once
// GDI objects for the window: one solid brush per colour and one font per design font and
// pixel height. The cache owns their handles and deletes them when it goes; it creates
// nothing until asked. The fonts' faces are found here, from the view's substitutes.

#include <windows.h>

#include <map>
#include <memory>
#include <type_traits>
#include <vector>

#include "toolkit/font.h"
#include "view/front_end.h"

namespace pelmora::win32 {

struct GdiObjectDeleter {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
template <class Handle>
using GdiHandle = std::unique_ptr<std::remove_pointer_t<Handle>, GdiObjectDeleter>;

inline COLORREF toColorRef(view::Rgb colour) { return RGB(colour.red, colour.green, colour.blue); }

// Brushes and fonts, kept while the cache lives; callers must not delete them. Fonts for
// another DPI stay too: a window moved back to its first monitor takes them again.
class GdiCache {
public:
    // A solid brush of `colour`.
    HBRUSH brush(COLORREF colour);
    // The font for `font` with characters `pixelHeight` high. A face the system has is used
    // as it is: Windows links its faces to a Chinese one for the captions' Chinese
    // characters. A face it lacks has no links either (Wine outside a Chinese set-up), so
    // the font is asked for in GB2312: in the view's first substitute the system has, where
    // that face holds all of GB2312 itself (coversGb2312); else in whatever GB2312 face
    // GDI's mapper finds, since a Western face without links would draw boxes.
    HFONT font(const Font& font, int pixelHeight);

private:
    struct Entry {
        Font font;
        int pixelHeight;
        GdiHandle<HFONT> handle;
    };
    std::map<COLORREF, GdiHandle<HBRUSH>> brushes_;
    std::vector<Entry> fonts_;
};

} // namespace pelmora::win32
