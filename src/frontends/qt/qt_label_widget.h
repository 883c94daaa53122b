#pragma once
// QtLabelWidget draws one label of the window: an opaque rectangle in its back colour, an
// optional one-pixel border and its caption in its fore colour, wrapped at word boundaries
// and aligned at the top. A plain painted widget rather than a QLabel: a window holds well
// over a hundred of them, and they need no text layout engine. It never takes the focus;
// the view sets everything it shows.

#include <QColor>
#include <QString>
#include <QWidget>

#include <optional>

class QAccessibleInterface;

namespace pelmora {

class QtLabelWidget final : public QWidget {
public:
    // `border`: a one-pixel frame in that colour; `horizontal`: where the caption lines up.
    QtLabelWidget(QWidget* parent, Qt::Alignment horizontal, std::optional<QColor> border);

    const QString& caption() const { return caption_; }
    void setCaption(const QString& caption);

    QColor backColour() const { return back_; }
    void setColours(const QColor& fore, const QColor& back);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString caption_;
    QColor fore_, back_;
    Qt::Alignment alignment_;
    std::optional<QColor> border_;
};

// Makes Qt accessibility describe QtLabelWidgets as static text whose value is the
// caption (a cell's value is its digit), and QtCheckBoxes as accessibleCheckBoxQt does.
// Process-wide; calling it again changes nothing.
void installAccessibilityQt();

} // namespace pelmora
