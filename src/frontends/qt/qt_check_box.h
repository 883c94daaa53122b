#pragma once
// QtCheckBox is a check box without a caption, as small as the design draws it (13 or
// 17 pixels square). Qt's own check box puts its focus frame around the caption, which
// is absent here, so this one fills its square with its back colour, draws the style's
// indicator a little inset and a dotted focus rectangle around it, and answers clicks
// anywhere in its square. Keyboard and
// mouse behave as for any QCheckBox: Space or a click toggles it and emits clicked().

#include <QCheckBox>

namespace pelmora {

class QtCheckBox final : public QCheckBox {
public:
    explicit QtCheckBox(QWidget* parent);

    // Where the indicator is drawn, inside the widget.
    QRect indicatorRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;
};

} // namespace pelmora
