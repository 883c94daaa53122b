#pragma once
// QtLabelWidget draws one label of the window: an opaque rectangle in its back colour,
// an optional one-pixel border and its caption in its fore colour, wrapped at word
// boundaries and aligned left, right or centred at the top, as the design's labels are.
// It is a plain painted widget rather than a QLabel because a window holds well over a
// hundred of them and they need no text layout engine. It never takes the focus and
// knows nothing of the model; the view sets everything it shows.

#include <QColor>
#include <QString>
#include <QWidget>

class QAccessibleInterface;

namespace pelmora {

class QtLabelWidget final : public QWidget {
public:
    explicit QtLabelWidget(QWidget* parent);

    const QString& caption() const { return caption_; }
    void setCaption(const QString& caption);

    QColor foreColour() const { return fore_; }
    QColor backColour() const { return back_; }
    void setColours(const QColor& fore, const QColor& back);

    bool hasBorder() const { return border_; }
    void setBorder(const QColor& colour); // a one-pixel frame in `colour`

    Qt::Alignment alignment() const { return alignment_; }
    void setAlignment(Qt::Alignment horizontal);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString caption_;
    QColor fore_, back_, borderColour_;
    Qt::Alignment alignment_ = Qt::AlignLeft;
    bool border_ = false;
};

// Makes Qt accessibility describe QtLabelWidgets as static text whose value is the
// caption (a cell's value is its digit), and QtCheckBoxes as accessibleCheckBoxQt does.
// Process-wide; calling it again changes nothing.
void installAccessibilityQt();

} // namespace pelmora
