#pragma once
// CssWriter writes the inline styles of the page's elements from their controls'
// properties and the view's layout: place, colours, font, alignment, border, visibility
// and layer. It reuses one buffer and makes no temporary strings: under emscripten's
// exceptions every call made beside a temporary goes through JavaScript, which made the
// page's start twice as slow. It decides nothing the view policy decides.

#include <string>

#include "toolkit/form.h"
#include "view/layout.h"

namespace pelmora {

class CssWriter {
public:
    // Each returns the style, valid until the next call.
    const char* client(const FormSettings& settings); // size, background, font
    const char* style(const Control& control);        // all of the below that applies
    const char* place(const Control& control);
    const char* colours(const Control& control);
    const char* layer(int z);

private:
    void addPlace(const Control& control);
    void addColours(const Control& control);
    void addColour(Colour colour);
    void addFont(const Font& font, int pixels);
    template <class... Args> void add(const char* format, Args... args);

    std::string css_;
};

} // namespace pelmora
