// The widgets QtWindow makes for the view: where they sit, what they show after a model
// change, what crosses between widget and model, what a screen reader hears, and how the
// window looks pixel for pixel.
#include <QAccessible>
#include <QDir>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QStyleHints>

#include <functional>
#include <ostream>

#include "view/layout.h"
#include "view/view_policy.h"

#include "qt_window_fixture.h"

namespace pelmora::testing {
namespace {

QRect rectOf(const Control& c) {
    const view::PixelRect r = view::controlRect(c);
    return QRect(r.x, r.y, r.width, r.height);
}

// Every widget the view made sits on its control's rectangle, shown, whatever size the
// window is given, and the window holds no widget besides them.
TEST_F(QtWindowTest, EveryWidgetSitsOnItsControlsRectangle) {
    EXPECT_EQ(window.size(), QSize(662, 341));
    for (const QSize size : {QSize(662, 341), QSize(900, 500), QSize(300, 200)}) {
        window.resize(size);
        QCoreApplication::processEvents();
        int widgets = 0;
        for (const Control* c : model.form().controls())
            if (QWidget* w = widget(*c)) {
                ++widgets;
                EXPECT_EQ(w->geometry(), rectOf(*c)) << c->name() << c->index();
                EXPECT_TRUE(w->isVisible()) << c->name() << c->index();
            }
        EXPECT_EQ(widgets, window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly).size());
        EXPECT_EQ(widgets, static_cast<int>(view::widgetsAtStart(model.form()).size()));
    }
}

TEST_F(QtWindowTest, ModelChangesReachTheirWidget) {
    model.LblBitInfo(5).setBackColour(colours::Red);
    model.LblBitInfo(5).setCaption(u"1");
    EXPECT_EQ(label(model.LblBitInfo(5))->backColour(), QColor(255, 0, 0));
    EXPECT_EQ(label(model.LblBitInfo(5))->caption(), QStringLiteral("1"));
    EXPECT_EQ(label(model.LblBitInfo(4))->backColour(), QColor(192, 192, 255));

    model.BitCheck(9).setLeft(1500);
    EXPECT_EQ(widget(model.BitCheck(9))->pos(), QPoint(100, 112));
    model.Label2.setVisible(false);
    EXPECT_FALSE(widget(model.Label2)->isVisible());

    // A readout never shown has no widget; shown at last, one appears, with what it holds.
    EXPECT_EQ(widget(model.LblBitSetHex(1)), nullptr);
    model.BitSetCheck(5).setValue(1);
    model.LblBitSetHex(1).setVisible(true);
    ASSERT_NE(label(model.LblBitSetHex(1)), nullptr);
    EXPECT_TRUE(widget(model.LblBitSetHex(1))->isVisible());
    EXPECT_EQ(widget(model.LblBitSetHex(1))->geometry(), rectOf(model.LblBitSetHex(1)));
    EXPECT_EQ(label(model.LblBitSetHex(1))->caption(), toQString(model.LblBitSetHex(1).caption()));
}

// What the view sets on a widget never comes back as the person's, not even late.
TEST_F(QtWindowTest, CodeSettingABoxOrTextRaisesItsEventOnceAndNoEcho) {
    int& changes = countHandlerRuns(model.txtDataIn);
    int& clicks = countHandlerRuns(model.BitCheck(3));
    model.txtDataIn.setText(u"1F");
    model.BitCheck(3).setValue(1);
    QCoreApplication::sendPostedEvents(); // queued signals, if any, arrive now
    EXPECT_EQ(edit(model.txtDataIn)->text(), QStringLiteral("1F"));
    EXPECT_TRUE(check(model.BitCheck(3))->isChecked());
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(clicks, 1);
}

// UTF-16 code units cross between widget and model one for one, even those that do not
// form characters, and a long text whole: QLineEdit holds 32767 unless told otherwise.
TEST_F(QtWindowTest, TextCrossesWithoutLossLoneSurrogatesAndLengthIncluded) {
    const Text samples[] = {u"比特", u"\U0001F600x", Text{u'a', char16_t(0xD800), u'b'},
                            Text(1, char16_t(0xDC00)), Text(40000, u'1')};
    for (const Text& sample : samples) {
        SCOPED_TRACE(sample.size());
        model.TxtBitSetHex.setText(sample);
        EXPECT_EQ(toText(edit(model.TxtBitSetHex)->text()), sample);
        edit(model.TxtBitSetBinary)->selectAll();
        edit(model.TxtBitSetBinary)->insert(toQString(sample)); // the same path as a paste
        EXPECT_EQ(model.TxtBitSetBinary.text(), sample);
        EXPECT_EQ(toText(edit(model.TxtBitSetBinary)->text()), sample);
    }
}

TEST_F(QtWindowTest, ScreenReadersHearNamesAndCellValues) {
    model.txtDataIn.setText(u"8");
    QAccessibleInterface* cell = QAccessible::queryAccessibleInterface(widget(model.LblBitInfo(3)));
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->role(), QAccessible::StaticText);
    EXPECT_EQ(cell->text(QAccessible::Name), q(u"比特查看 第3位 数值"));
    EXPECT_EQ(cell->text(QAccessible::Value), QStringLiteral("1"));
    EXPECT_EQ(
        QAccessible::queryAccessibleInterface(widget(model.Label1(0)))->text(QAccessible::Name),
        q(u"选择位范围"));
    QAccessibleInterface* box =
        QAccessible::queryAccessibleInterface(widget(model.BitSetCheck(12)));
    EXPECT_EQ(box->role(), QAccessible::CheckBox);
    EXPECT_EQ(box->text(QAccessible::Name), q(u"比特设置 第12位"));
    EXPECT_EQ(widget(model.txtDataIn)->accessibleName(), q(u"数据输入"));
}

// An assistive tool's Toggle clicks the box, as Space does, so the model follows it.
TEST_F(QtWindowTest, AssistiveToggleOfABoxActsAsAClick) {
    QAccessibleInterface* box = QAccessible::queryAccessibleInterface(widget(model.BitSetCheck(5)));
    ASSERT_NE(box->actionInterface(), nullptr);
    for (const char* hex : {"20", "0"}) {
        box->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        EXPECT_EQ(edit(model.TxtBitSetHex)->text(), QString::fromLatin1(hex));
        EXPECT_EQ(box->state().checked, model.BitSetCheck(5).value() == 1);
    }
}

TEST_F(QtWindowTest, WindowHasCaptionAndIconAndClosingItEndsTheProgram) {
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Pelmoria"));
    const QList<QSize> sizes = window.windowIcon().availableSizes();
    EXPECT_TRUE(sizes.contains(QSize(16, 16)) && sizes.contains(QSize(64, 64)));
    EXPECT_EQ(QGuiApplication::desktopFileName(), QStringLiteral("org.pelmora.Pelmora"));
    EXPECT_EQ(exitCodeAfter([this] { window.close(); }), 0);
}

// The window as a person sees it, pinned pixel for pixel: the window rendered on the
// offscreen platform is compared with reference pictures kept in pictures/, at the device
// pixel ratio the process runs with, so the same test registered with QT_SCALE_FACTOR=2
// pins the high-density drawing too. On a difference the rendering is written beside the
// reference and the failure names the controls the differing pixels fall on. After an
// intended change: scripts/renew-pictures.sh, then look at the pictures before committing.
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
