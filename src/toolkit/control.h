#pragma once
// The controls of a form: labels, text boxes, check boxes, buttons, lines and a timer.
// Each holds the properties a front end needs to draw it, in twips, and tells its form
// when one changes. Setting a check box's value or a text box's text raises the control's
// event at once, inside the setter, and only when the value really changes; nothing else
// here raises events. Drawing and input belong to the front ends.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "toolkit/colour.h"
#include "toolkit/font.h"
#include "toolkit/text.h"

namespace pelmora {

class Form;

enum class ControlKind { Label, TextBox, CheckBox, CommandButton, Line, Timer };
enum class Alignment { Left, Right, Centre };
enum class Property { Caption, Text, Value, ForeColour, BackColour, Left, Visible, Enabled };

// One row of a window design. Unset colours take the kind's defaults.
struct ControlSpec {
    ControlKind kind = ControlKind::Label;
    std::string name{};
    int index = -1; // member index in a control array, -1 for a plain control
    float left = 0;
    int top = 0, width = 0, height = 0;
    int x2 = 0, y2 = 0; // a line runs from (left, top) to (x2, y2)
    Text caption{};
    std::optional<Colour> fore{}, back{};
    Font font{};
    Alignment alignment = Alignment::Left;
    bool border = false;
    bool visible = true;
    int tabIndex = -1;
    int lineWidth = 1;
    bool isDefault = false; // the button that Enter presses
    int interval = 0;       // timer, milliseconds
};

// Handlers receive the index of the member that raised the event (0 for plain controls).
using Handler = std::function<void(std::int16_t index)>;

class Control {
public:
    Control(Form& form, const ControlSpec& spec);
    virtual ~Control() = default;
    Control(const Control&) = default;
    Control& operator=(const Control&) = delete;

    ControlKind kind() const { return kind_; }
    const std::string& name() const { return name_; }
    std::int16_t index() const { return index_; }
    bool isArrayMember() const { return index_ >= 0; }

    float left() const { return left_; }
    void setLeft(float left);
    int top() const { return top_; }
    int width() const { return width_; }
    int height() const { return height_; }

    bool visible() const { return visible_; }
    void setVisible(bool visible);

    Colour foreColour() const { return fore_; }
    void setForeColour(Colour colour);
    Colour backColour() const { return back_; }
    void setBackColour(Colour colour);

    const Font& font() const { return font_; }
    Alignment alignment() const { return alignment_; }
    bool border() const { return border_; }
    int tabIndex() const { return tabIndex_; }
    bool canFocus() const;

    void setHandler(Handler handler) { handler_ = std::move(handler); }

protected:
    friend class Form;
    template <class> friend class ControlArray;
    void changed(Property property);
    void raise();

    Form* form_;
    Text text_; // caption or text, by kind

private:
    ControlKind kind_;
    std::string name_;
    std::int16_t index_;
    float left_;
    int top_, width_, height_;
    Colour fore_, back_;
    Font font_;
    Alignment alignment_;
    bool border_, visible_;
    int tabIndex_;
    Handler handler_;
};

class Label : public Control {
public:
    using Control::Control;
    const Text& caption() const { return text_; }
    void setCaption(TextView caption);
};

class TextBox : public Control {
public:
    using Control::Control;
    const Text& text() const { return text_; }
    // Raises the change event when the text differs, whether a person or code set it.
    void setText(TextView text);
};

class CheckBox : public Control {
public:
    using Control::Control;
    std::int16_t value() const { return value_; }
    // Raises the click event when the value differs, whether a person or code set it.
    void setValue(std::int16_t value);

private:
    std::int16_t value_ = 0;
};

class CommandButton : public Control {
public:
    CommandButton(Form& form, const ControlSpec& spec);
    const Text& caption() const { return text_; }
    bool isDefault() const { return isDefault_; }
    void click() { raise(); }

private:
    bool isDefault_;
};

// A straight line from (x1, y1) to (x2, y2), drawn in its fore colour.
class Line : public Control {
public:
    Line(Form& form, const ControlSpec& spec);
    int x1() const { return static_cast<int>(left()); }
    int y1() const { return top(); }
    int x2() const { return x2_; }
    int y2() const { return y2_; }
    int lineWidth() const { return lineWidth_; }

private:
    int x2_, y2_, lineWidth_;
};

class Timer : public Control {
public:
    Timer(Form& form, const ControlSpec& spec);
    int interval() const { return interval_; }
    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled);
    // Called by whoever keeps time: the front end's clock, or a test.
    void tick();

private:
    int interval_;
    bool enabled_ = true;
};

} // namespace pelmora
