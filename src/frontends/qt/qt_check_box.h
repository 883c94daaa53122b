#pragma once
// QtCheckBox is a check box without a caption, as small as the design draws it (13 or 17
// pixels square). Qt's own puts its focus frame around the absent caption; this one fills
// its square with its back colour, draws the style's indicator a little inset with a dotted
// focus rectangle around it, and answers clicks anywhere in the square. Space or a click
// toggles it and emits clicked(), as for any QCheckBox.

#include <QCheckBox>

class QAccessibleInterface;

namespace pelmora {

class QtCheckBox final : public QCheckBox {
public:
    explicit QtCheckBox(QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;
};

// The accessibility factory for QtCheckBoxes (QAccessible::installFactory), null for any
// other object: their "Toggle" clicks the box, as Space does. Qt's own calls toggle(),
// which emits no clicked(), so the box would tick unseen by the view.
QAccessibleInterface* accessibleCheckBoxQt(const QString& className, QObject* object);

} // namespace pelmora
