// The window as a person sees it, pinned pixel for pixel: the client area rendered on the
// offscreen platform is compared with reference pictures kept in pictures/. Any change of
// a visible control's place, size, font, colour or caption shows up here. The rendering
// is at the device pixel ratio the process runs with, so the same test registered with
// QT_SCALE_FACTOR=2 pins the high-density drawing too.
//
// On a difference the rendering and a diff image are written beside the reference, and
// the failure names the control under the first differing pixel. To renew the references
// after an intended change: scripts/renew-pictures.sh, then look at them before committing.
#include <QDir>
#include <QGuiApplication>
#include <QStyleHints>

#include <cctype>
#include <functional>
#include <ostream>

#include "qt_window_fixture.h"

namespace pelmora::testing {
namespace {

struct Scene {
    const char* name;
    std::function<void(ShownWindow&)> act; // what the person does first
};
void PrintTo(const Scene& scene, std::ostream* out) { *out << scene.name; }

void clickCentre(QWidget* widget) {
    QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
}

const Scene scenes[] = {
    {"start-up", [](ShownWindow&) {}},
    // The typical road: a value, a field of it, and a composed bit.
    {"1F-select-0,3-composer-5",
     [](ShownWindow& w) {
         QTest::keyClicks(w.widget(w.model.txtDataIn), QStringLiteral("1F"));
         QTest::keyClicks(w.widget(w.model.txtSelectRang), QStringLiteral("0,3"));
         clickCentre(w.widget(w.model.Command2));
         clickCentre(w.widget(w.model.BitSetCheck(5)));
     }},
};

// The control a person would look at for a pixel of the client, by its design name.
QString controlAt(QWidget& client, QPoint pixel, qreal ratio) {
    const QPoint point(static_cast<int>(pixel.x() / ratio), static_cast<int>(pixel.y() / ratio));
    for (QWidget* w = client.childAt(point); w && w != &client; w = w->parentWidget())
        if (!w->objectName().isEmpty()) return w->objectName();
    return QStringLiteral("background");
}

// Where two pictures differ: how many pixels, their bounding box, the first of them in
// reading order, the controls they fall on in the order met, and a picture of the
// differences over a faded reference.
struct Difference {
    int pixels = 0;
    QRect box;
    QPoint first;
    QStringList where;
    QImage picture;
};

Difference compare(const QImage& reference, const QImage& actual, QWidget& client) {
    Difference d;
    d.picture = reference;
    for (int y = 0; y < reference.height(); ++y)
        for (int x = 0; x < reference.width(); ++x) {
            const QRgb want = reference.pixel(x, y);
            if (want == actual.pixel(x, y)) {
                const int grey = 192 + qGray(want) / 4;
                d.picture.setPixel(x, y, qRgb(grey, grey, grey));
                continue;
            }
            if (d.pixels++ == 0) d.first = {x, y};
            d.box |= QRect(x, y, 1, 1);
            d.picture.setPixel(x, y, qRgb(255, 0, 255));
            const QString name = controlAt(client, {x, y}, actual.devicePixelRatio());
            if (!d.where.contains(name)) d.where << name;
        }
    return d;
}

class Pictures : public QtWindowTest, public ::testing::WithParamInterface<Scene> {
protected:
    Pictures() : QtWindowTest(Clock::Stopped) {}
    // A caret that blinks would be caught on or off; this one is always on.
    static void SetUpTestSuite() { QGuiApplication::styleHints()->setCursorFlashTime(0); }
};

TEST_P(Pictures, ClientAreaMatchesItsReference) {
    GetParam().act(*this);
    QWidget& client = window;
    const QImage actual = client.grab().toImage().convertToFormat(QImage::Format_RGB32);

    const QString base = QStringLiteral(PELMORA_PICTURES_DIR "/%1@%2x")
                             .arg(QLatin1String(GetParam().name))
                             .arg(qRound(actual.devicePixelRatio()));
    if (qEnvironmentVariableIntValue("PELMORA_RENEW_PICTURES")) {
        QDir().mkpath(QStringLiteral(PELMORA_PICTURES_DIR));
        ASSERT_TRUE(actual.save(base + QStringLiteral(".png")));
        GTEST_SKIP() << "renewed " << base.toStdString() << ".png";
    }
    QImage reference(base + QStringLiteral(".png"));
    ASSERT_FALSE(reference.isNull())
        << "no reference " << base.toStdString() << ".png; make it with scripts/renew-pictures.sh";
    reference = reference.convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(reference.size(), actual.size()) << "the client area changed size";

    const Difference d = compare(reference, actual, client);
    if (d.pixels == 0) return;
    actual.save(base + QStringLiteral(".actual.png"));
    d.picture.save(base + QStringLiteral(".diff.png"));
    ADD_FAILURE() << d.pixels << " pixels differ within (" << d.box.x() << "," << d.box.y() << ") "
                  << d.box.width() << "x" << d.box.height() << ", the first at (" << d.first.x()
                  << "," << d.first.y()
                  << "), on: " << d.where.join(QStringLiteral(", ")).toStdString() << "\nSee "
                  << base.toStdString() << ".actual.png and .diff.png";
}

INSTANTIATE_TEST_SUITE_P(Window, Pictures, ::testing::ValuesIn(scenes), [](const auto& info) {
    std::string name;
    for (const char* c = info.param.name; *c; ++c)
        name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
    return name;
});

} // namespace
} // namespace pelmora::testing
