#pragma once
// ElementMarkup writes controls' elements as HTML, to be added to the page in one piece:
// tag, style (CssWriter), accessible name, shown text and tick, as the view and the model
// give them. One parse of all the start-up elements is far quicker than an element at a
// time. It decides nothing; what it writes later changes go through web_page.h one by one.

#include <string>

#include "frontends/web/web_css.h"
#include "toolkit/form.h"

namespace pelmora {

class ElementMarkup {
public:
    // Appends `control`'s element, lying in `layer`.
    void add(const Control& control, int layer);
    const std::string& html() const { return html_; }
    void clear() { html_.clear(); }

private:
    void attribute(const char* name, const std::string& value);
    void escaped(const std::string& utf8);

    CssWriter css_;
    std::string html_;
};

} // namespace pelmora
