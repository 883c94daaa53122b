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

// Once a message box is up, notes what it looks like and presses its OK button. The
// polling timer is its own, so nothing outlives the test; after the deadline, which only
// bounds a hang, a box that is up but not seen is rejected.
struct BoxCloser {
    BoxCloser() {
        started.start();
        poll.start(10);
        poll.callOnTimeout([this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box && !started.hasExpired(30000)) return;
            poll.stop();
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* stray = qobject_cast<QMessageBox*>(w); stray && !box) stray->reject();
            if (!box) return;
            seen = true;
            title = box->windowTitle();
            text = box->text();
            icon = box->icon();
            onlyOk = box->buttons().size() == 1 && box->button(QMessageBox::Ok);
            modal = box->windowModality() == Qt::ApplicationModal;
            parent = box->parentWidget();
            box->button(QMessageBox::Ok)->click();
        });
    }
    QTimer poll;
    QElapsedTimer started;
    bool seen = false, onlyOk = false, modal = false;
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QWidget* parent = nullptr;
};

TEST(MessageBoxQt, ShowsTheViewsIconModalWithOneOk) {
    QtWindow window;
    window.show();
    const std::pair<view::MessageIcon, QMessageBox::Icon> rows[] = {
        {view::MessageIcon::None, QMessageBox::NoIcon},
        {view::MessageIcon::Stop, QMessageBox::Critical},
        {view::MessageIcon::Question, QMessageBox::Question},
        {view::MessageIcon::Warning, QMessageBox::Warning},
        {view::MessageIcon::Information, QMessageBox::Information}};
    for (const auto& [icon, shown] : rows) {
        BoxCloser box;
        window.messageBox(u"请正确输入16进制数", icon, u"出错");
        ASSERT_TRUE(box.seen);
        EXPECT_EQ(box.icon, shown);
        EXPECT_EQ(box.title, q(u"出错"));
        EXPECT_EQ(box.text, q(u"请正确输入16进制数"));
        EXPECT_TRUE(box.onlyOk);
        EXPECT_TRUE(box.modal);
        EXPECT_EQ(box.parent, &window);
    }
}

// The whole road: a bad keystroke raises the real box inside the entry's change, and the
// entry takes the keystroke back once the person has pressed OK.
TEST(MessageBoxQt, BadKeystrokeShowsTheBoxThenTakesItBack) {
    std::optional<Main> model;
    QtWindow window;
    model.emplace(window.view());
    ASSERT_TRUE(window.view().load(model->form(), [&] { model->load(); }));
    window.view().show();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    auto* entry = dynamic_cast<QLineEdit*>(window.widget(window.view().widgetOf(model->txtDataIn)));
    QTest::keyClicks(entry, QStringLiteral("7"));
    BoxCloser box;
    QTest::keyClicks(entry, QStringLiteral("Z"));
    ASSERT_TRUE(box.seen);
    EXPECT_EQ(box.text, q(u"请正确输入16进制数"));
    EXPECT_EQ(box.icon, QMessageBox::Critical);
    EXPECT_EQ(entry->text(), QStringLiteral("7"));
    EXPECT_EQ(model->txtDataIn.text(), u"7");
}

// The locale's long time format, with seconds, no date and no zone, in the view's hands.
TEST(ClockText, IsTheLocalesTimeWithSecondsAndNoZone) {
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
    for (const auto& [locale, text] : rows)
        EXPECT_EQ(
            view::timeOfDayText(localTimeQt(QLocale(QString::fromLatin1(locale)), QTime(14, 5, 9))),
            text)
            << locale;
    // and the window's own clock reads the time of day, with no date
    const QString now = toQString(view::timeOfDayText(QtWindow().localTime()));
    EXPECT_FALSE(now.isEmpty());
    EXPECT_FALSE(now.contains(QString::number(QDate::currentDate().year())));
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
        EXPECT_EQ(font.family(), QString::fromUtf8(family));
        EXPECT_EQ(font.pixelSize(), 13) << family;
        EXPECT_EQ(font.bold(), design.bold) << family;
        EXPECT_EQ(font.italic(), design.italic) << family;
        book.font(design, 13);
        EXPECT_EQ(book.size(), 1u);
    }
}

} // namespace
} // namespace pelmora::testing
