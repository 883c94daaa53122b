#pragma once
// Where the form lands in a front end's units. Pixels at a DPI for the windowed front ends
// (layout.h's rules); a terminal's character cells are another Geometry. FormView asks it
// for every rectangle and size, so a front end does no geometry of its own.

#include <vector>

#include "toolkit/form.h"
#include "view/layout.h"

namespace pelmora::view {

class Geometry {
public:
    virtual ~Geometry() = default;
    virtual PixelRect rect(const Control& control) const = 0;
    virtual PixelRect band(const Line& line) const = 0;
    virtual PixelSize client(const FormSettings& settings) const = 0;
    virtual int fontHeight(const Font& font) const = 0;
};

// Pixels at `dpi`: 15 twips a pixel at 96.
class PixelGeometry final : public Geometry {
public:
    explicit PixelGeometry(int dpi = BaseDpi) : dpi_(dpi) {}
    PixelRect rect(const Control& control) const override { return controlRect(control, dpi_); }
    PixelRect band(const Line& line) const override { return lineBand(line, dpi_); }
    PixelSize client(const FormSettings& settings) const override {
        return clientSize(settings, dpi_);
    }
    int fontHeight(const Font& font) const override { return fontPixelHeight(font.points, dpi_); }

private:
    int dpi_;
};

} // namespace pelmora::view
