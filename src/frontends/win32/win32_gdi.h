#pragma once
// GDI objects for the window: the design's colours as COLORREFs, one solid brush per
// colour and one font per distinct design font at the window's DPI. The caches own their
// handles and delete them when cleared or destroyed; they create nothing until asked.

#include <windows.h>

#include <map>
#include <memory>
#include <type_traits>
#include <vector>

#include "toolkit/colour.h"
#include "toolkit/font.h"

namespace pelmora::win32 {

struct GdiObjectDeleter {
    void operator()(HGDIOBJ object) const {
        if (object) DeleteObject(object);
    }
};
template <class Handle>
using GdiHandle = std::unique_ptr<std::remove_pointer_t<Handle>, GdiObjectDeleter>;

// A design colour as GDI draws it: 0xBBGGRR is already a COLORREF, 0x800000NN is the
// current value of system colour NN.
COLORREF toColorRef(Colour colour);

class BrushCache {
public:
    // A solid brush of `colour`, kept until clear(); the caller must not delete it.
    HBRUSH brush(COLORREF colour);
    // After a system colour change the same design colour may need another brush.
    void clear() { brushes_.clear(); }

private:
    std::map<COLORREF, GdiHandle<HBRUSH>> brushes_;
};

class FontCache {
public:
    // The font for `font` at the current DPI, created on first use.
    HFONT font(const Font& font);
    // Drops every font; the next font() creates them for `dpi`.
    void setDpi(int dpi);
    int dpi() const { return dpi_; }

private:
    struct Entry {
        Font font;
        GdiHandle<HFONT> handle;
    };
    int dpi_ = 96;
    std::vector<Entry> fonts_;
};

} // namespace pelmora::win32
