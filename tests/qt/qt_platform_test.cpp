// What QtWindow takes from the desktop: the real message box, the locale's time pattern,
// and faces with a glyph for every caption.
#include <QElapsedTimer>
#include <QMessageBox>
#include <QRawFont>
#include <QTextLayout>

#include "frontends/qt/qt_fonts.h"
#include "frontends/qt/qt_platform.h"

#include "qt_window_fixture.h"

namespace pelmora::testing {
namespace {

// Once a message box is up, notes what it shows and presses its OK button. The polling
// timer is its own, so nothing outlives the test; the deadline only bounds a hang.
struct BoxCloser {
    BoxCloser() {
        started.start();
        poll.start(10);
        poll.callOnTimeout([this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box && !started.hasExpired(30000)) return;
            poll.stop();
            if (!box) return;
            seen = {box->windowTitle(), box->text()};
            icon = box->icon();
            onlyOk = box->buttons().size() == 1 && box->button(QMessageBox::Ok);
            modalOnTheWindow =
                box->windowModality() == Qt::ApplicationModal ? box->parentWidget() : nullptr;
            box->button(QMessageBox::Ok)->click();
        });
    }
    QTimer poll;
    QElapsedTimer started;
    QStringList seen; // title and text
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    bool onlyOk = false;
    QWidget* modalOnTheWindow = nullptr;
};

TEST_F(QtWindowTest, MessageBoxShowsTheViewsIconModalOnTheWindowWithOneOk) {
    const std::pair<view::MessageIcon, QMessageBox::Icon> rows[] = {
        {view::MessageIcon::None, QMessageBox::NoIcon},
        {view::MessageIcon::Stop, QMessageBox::Critical},
        {view::MessageIcon::Question, QMessageBox::Question},
        {view::MessageIcon::Warning, QMessageBox::Warning},
        {view::MessageIcon::Information, QMessageBox::Information}};
    for (const auto& [icon, shown] : rows) {
        BoxCloser box;
        window.QtWindow::messageBox(u"请正确输入16进制数", icon, u"出错");
        EXPECT_EQ(box.seen, QStringList({q(u"出错"), q(u"请正确输入16进制数")}));
        EXPECT_EQ(box.icon, shown);
        EXPECT_TRUE(box.onlyOk);
        EXPECT_EQ(box.modalOnTheWindow, &window);
    }
}

// The whole road: a bad keystroke raises the real box inside the entry's change, and the
// entry takes the keystroke back once the person has pressed OK.
TEST_F(QtWindowTest, BadKeystrokeShowsTheBoxThenTakesItBack) {
    window.realBoxes = true;
    QTest::keyClicks(edit(model.txtDataIn), QStringLiteral("7"));
    BoxCloser box;
    QTest::keyClicks(edit(model.txtDataIn), QStringLiteral("Z"));
    EXPECT_EQ(box.seen, QStringList({q(u"出错"), q(u"请正确输入16进制数")}));
    EXPECT_EQ(edit(model.txtDataIn)->text(), QStringLiteral("7"));
    EXPECT_EQ(model.txtDataIn.text(), u"7");
}

// The locale's long time format, with seconds, no date and no zone, in the view's hands.
TEST_F(QtWindowTest, ClockTextIsTheLocalesTimeWithSecondsAndNoZone) {
    const std::pair<const char*, const char16_t*> rows[] = {
        {"C", u"14:05:09"},
        {"en_US", u"2:05:09 PM"},
        {"af_NA", u"2:05:09 NM."}, // AP: the locale's "nm." in capitals
        {"de_DE", u"14:05:09"},
        {"zh_CN", u"14:05:09"}, // "t HH:mm:ss"
        {"ja_JP", u"14時05分09秒"},
        {"zh_TW", u"下午2:05:09"},      // a day period Qt lacks
        {"eu_ES", u"14:05:09"},         // "(t)"
        {"be_BY", u"14:05:09"},         // ", t"
        {"fr_CA", u"14 h 05 min 09 s"}, // quoted literals stay
    };
    for (const auto& [name, text] : rows) {
        const QLocale locale(QString::fromLatin1(name));
        EXPECT_EQ(view::timeOfDayText(localTimeQt(locale, QTime(14, 5, 9))), text) << name;
    }
    // and the window's own clock reads the time of day, with no date
    const QString now = toQString(view::timeOfDayText(window.QtWindow::localTime()));
    EXPECT_FALSE(now.isEmpty() || now.contains(QString::number(QDate::currentDate().year())));
}

// Every caption is drawn with real glyphs: a missing one would show as a box.
TEST_F(QtWindowTest, NoCaptionShowsAsBoxes) {
    for (Control* control : model.form().controls()) {
        QWidget* w = widget(*control);
        QString text;
        if (auto* l = dynamic_cast<QtLabelWidget*>(w)) text = l->caption();
        if (auto* b = dynamic_cast<QPushButton*>(w)) text = b->text();
        if (text.isEmpty()) continue;
        QTextLayout layout(text, w->font());
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        for (const QGlyphRun& run : layout.glyphRuns())
            for (quint32 glyph : run.glyphIndexes())
                EXPECT_NE(glyph, 0u) << w->objectName().toStdString() << " in "
                                     << run.rawFont().familyName().toStdString();
        if (control == &model.Label5(1)) { // the headings are drawn in the Kai face
            EXPECT_EQ(layout.glyphRuns().front().rawFont().familyName(),
                      QStringLiteral("AR PL KaitiM GB"));
        }
    }
    EXPECT_TRUE(widget(model.Label5(0))->font().italic());
}

// Each design font asks Qt for an installed face, one QFont per distinct design font.
TEST(FontBookFaces, AskForAnInstalledFace) {
    const std::pair<Font, const char*> rows[] = {
        {fonts::sans(8.25f), "Liberation Sans"},
        {fonts::sans(12, true), "Liberation Sans"},
        {fonts::kai(15.75f, true), "AR PL KaitiM GB"},
        {Font{u"DejaVu Sans", 9, false, false, 0}, "DejaVu Sans"},
        {Font{u"No Such Face", 9, false, false, 0}, "No Such Face"},
    };
    for (const auto& [design, family] : rows) {
        QtFontBook book;
        const QFont font = book.font(design, 13);
        EXPECT_EQ(std::tuple(font.family(), font.pixelSize(), font.bold(), font.italic()),
                  std::tuple(QString::fromUtf8(family), 13, design.bold, design.italic));
        book.font(design, 13);
        EXPECT_EQ(book.size(), 1u) << family;
    }
}

} // namespace
} // namespace pelmora::testing
