#pragma once
// CssWriter writes the inline styles of the page's elements from their controls'
// properties and the view's layout and look: place, colours, font, alignment, border,
// visibility and layer. It reuses one buffer and makes no temporary strings: under
// emscripten's exceptions every call made beside a temporary goes through JavaScript, and
// printf is slow there too; both made the page's start far slower. It decides nothing the
// view policy decides.

#include <string>

#include "toolkit/form.h"
#include "view/layout.h"

namespace pelmora {

class CssWriter {
public:
    // Each returns the style, valid until the next call.
    const char* client(const FormSettings& settings); // size, background, font
    // All of the below that applies, and the layer (z-index) the element lies in.
    const char* style(const Control& control, int layer);
    const char* place(const Control& control);
    const char* colours(const Control& control);

private:
    void addPlace(const Control& control);
    void addColours(const Control& control);
    void addColour(Colour colour);
    void addFont(const Font& font, int pixels);
    template <class... Pieces> void add(Pieces... pieces);
    void piece(const char* text);
    void piece(int number);

    std::string css_;
};

} // namespace pelmora
