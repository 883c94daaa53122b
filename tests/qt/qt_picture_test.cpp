// The window as a person sees it, pinned pixel for pixel: the window rendered on the
// offscreen platform is compared with reference pictures kept in pictures/, at the device
// pixel ratio the process runs with, so the same test registered with QT_SCALE_FACTOR=2
// pins the high-density drawing too. On a difference the rendering is written beside the
// reference and the failure names the controls the differing pixels fall on. After an
// intended change: scripts/renew-pictures.sh, then look at the pictures before committing.
#include <QDir>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QStyleHints>

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
    // The typical road: a value, a field of it, and a composed bit; bit 7 ticked and
    // unticked again leaves its cell silver, which must stand apart from the ground.
    {"1F-select-0,3-composer-5-unticked-7",
     [](ShownWindow& w) {
         QTest::keyClicks(w.widget(w.model.txtDataIn), QStringLiteral("1F"));
         QTest::keyClicks(w.widget(w.model.txtSelectRang), QStringLiteral("0,3"));
         clickCentre(w.widget(w.model.Command2));
         for (const int bit : {7, 5, 7}) clickCentre(w.widget(w.model.BitSetCheck(bit)));
     }},
};

class Pictures : public QtWindowTest, public ::testing::WithParamInterface<Scene> {
protected:
    Pictures() : QtWindowTest(Clock::Stopped) {}
    // A caret that blinks would be caught on or off; this one is always on.
    static void SetUpTestSuite() { QGuiApplication::styleHints()->setCursorFlashTime(0); }
};

TEST_P(Pictures, WindowMatchesItsReference) {
    GetParam().act(*this);
    const QImage actual = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QString base = QStringLiteral(PELMORA_PICTURES_DIR "/%1@%2x")
                             .arg(QLatin1String(GetParam().name))
                             .arg(qRound(actual.devicePixelRatio()));
    if (qEnvironmentVariableIntValue("PELMORA_RENEW_PICTURES")) {
        QDir().mkpath(QStringLiteral(PELMORA_PICTURES_DIR));
        ASSERT_TRUE(actual.save(base + QStringLiteral(".png")));
        GTEST_SKIP() << "renewed " << base.toStdString() << ".png";
    }
    const QImage reference = QImage(base + QStringLiteral(".png")).convertToFormat(actual.format());
    ASSERT_EQ(reference.size(), actual.size())
        << "no reference of this size: " << base.toStdString();

    int pixels = 0;
    QStringList where; // the controls the differences fall on, in reading order
    for (int y = 0; y < actual.height(); ++y)
        for (int x = 0; x < actual.width(); ++x) {
            if (reference.pixel(x, y) == actual.pixel(x, y)) continue;
            ++pixels;
            const QWidget* on = window.childAt(QPoint(x, y) / actual.devicePixelRatio());
            const QString name = on ? on->objectName() : QStringLiteral("the ground");
            if (!where.contains(name)) where << name;
        }
    if (pixels == 0) return;
    actual.save(base + QStringLiteral(".actual.png"));
    ADD_FAILURE() << pixels << " pixels differ, on " << where.join(u", ").toStdString() << "\nSee "
                  << base.toStdString() << ".actual.png";
}

INSTANTIATE_TEST_SUITE_P(Window, Pictures, ::testing::ValuesIn(scenes), [](const auto& info) {
    const QRegularExpression other(QStringLiteral("[^A-Za-z0-9]"));
    return QString::fromLatin1(info.param.name).replace(other, QStringLiteral("_")).toStdString();
});

} // namespace
} // namespace pelmora::testing
