// The message box and the clock text of the Qt platform, and glyph coverage of every
// caption the window draws.
#include <QDate>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QRawFont>
#include <QTextLayout>
#include <QTimer>

#include "frontends/qt/qt_fonts.h"
#include "frontends/qt/qt_platform.h"
#include "view/layout.h"

#include "qt_window_fixture.h"

namespace pelmora::testing {
namespace {

struct SeenBox {
    bool seen = false;
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    qsizetype buttons = 0;
    bool okButton = false;
    Qt::WindowModality modality = Qt::NonModal;
    QWidget* parent = nullptr;
};

// Once a message box is up, notes what it looks like and presses its OK button. The
// polling timer is its own, so nothing outlives the test; after the deadline, which only
// bounds a hang, a box that is up but not seen is rejected.
struct BoxCloser : SeenBox {
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
            static_cast<SeenBox&>(*this) = {true,
                                            box->windowTitle(),
                                            box->text(),
                                            box->icon(),
                                            box->buttons().size(),
                                            box->button(QMessageBox::Ok) != nullptr,
                                            box->windowModality(),
                                            box->parentWidget()};
            box->button(QMessageBox::Ok)->click();
        });
    }
    QTimer poll;
    QElapsedTimer started;
};

struct BoxRow {
    const char* what;
    int flags;
    QMessageBox::Icon icon;
};
// Names the row in test listings instead of dumping its bytes.
void PrintTo(const BoxRow& row, std::ostream* out) { *out << row.what; }

class MessageBoxQt : public ::testing::TestWithParam<BoxRow> {};

TEST_P(MessageBoxQt, IsModalWithTitleIconAndOneOk) {
    QWidget owner;
    owner.show();
    QtPlatform platform;
    platform.setOwner(&owner);
    BoxCloser seen;
    platform.messageBox(u"请正确输入16进制数", GetParam().flags, u"出错");

    ASSERT_TRUE(seen.seen);
    EXPECT_EQ(seen.title, q(u"出错"));
    EXPECT_EQ(seen.text, q(u"请正确输入16进制数"));
    EXPECT_EQ(seen.icon, GetParam().icon);
    EXPECT_EQ(seen.buttons, 1);
    EXPECT_TRUE(seen.okButton);
    EXPECT_NE(seen.modality, Qt::NonModal);
    EXPECT_EQ(seen.parent, &owner);
}

INSTANTIATE_TEST_SUITE_P(Flags, MessageBoxQt,
                         ::testing::Values(BoxRow{"stop", 16, QMessageBox::Critical},
                                           BoxRow{"plain", 0, QMessageBox::NoIcon}),
                         [](const auto& info) { return std::string(info.param.what); });

// The whole road: a bad keystroke raises the real box inside the entry's change, and the
// entry takes the keystroke back once the person has pressed OK.
TEST(MessageBoxQtWindow, BadKeystrokeShowsTheBoxThenTakesItBack) {
    QtPlatform platform;
    Main model(platform);
    model.load();
    QtMainWindow window(model.form(), platform);
    platform.setOwner(&window);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    auto* entry = dynamic_cast<QLineEdit*>(window.view().widgetFor(model.txtDataIn));
    QTest::keyClicks(entry, QStringLiteral("7"));
    BoxCloser seen;
    QTest::keyClicks(entry, QStringLiteral("Z"));

    ASSERT_TRUE(seen.seen);
    EXPECT_EQ(seen.text, q(u"请正确输入16进制数"));
    EXPECT_EQ(seen.parent, &window);
    EXPECT_EQ(entry->text(), QStringLiteral("7"));
    EXPECT_EQ(model.txtDataIn.text(), u"7");
}

TEST(ClockText, IsTheLocalesTimeWithSecondsAndNoZone) {
    const std::pair<const char*, const char16_t*> rows[] = {
        {"C", u"14:05:09"},
        {"en_US", u"2:05:09 PM"},
        {"de_DE", u"14:05:09"},
        {"zh_CN", u"14:05:09"},
        {"ja_JP", u"14時05分09秒"},
        {"zh_TW", u"下午2:05:09"},      // a day period Qt lacks
        {"eu_ES", u"14:05:09"},         // "(t)"
        {"be_BY", u"14:05:09"},         // ", t"
        {"fr_CA", u"14 h 05 min 09 s"}, // quoted literals stay
    };
    for (const auto& [locale, text] : rows)
        EXPECT_EQ(timeOfDayTextQt(QLocale(QString::fromLatin1(locale)), QTime(14, 5, 9)), q(text))
            << locale;
}

TEST(ClockTextFormat, DropsOnlyUnquotedZoneFields) {
    EXPECT_EQ(timeFormatWithoutZoneQt(QStringLiteral("HH:mm:ss t")), QStringLiteral("HH:mm:ss"));
    EXPECT_EQ(timeFormatWithoutZoneQt(QStringLiteral("tttt HH:mm:ss")), QStringLiteral("HH:mm:ss"));
    EXPECT_EQ(timeFormatWithoutZoneQt(QStringLiteral("APh:mm:ss [t]")),
              QStringLiteral("APh:mm:ss"));
    EXPECT_EQ(timeFormatWithoutZoneQt(QStringLiteral("'at' HH:mm:ss t")),
              QStringLiteral("'at' HH:mm:ss"));
}

TEST(ClockTextNow, HasTimeButNoDate) {
    QtPlatform platform;
    const QString now = QString::fromStdU16String(platform.timeOfDayText());
    EXPECT_FALSE(now.isEmpty());
    const QDate today = QDate::currentDate();
    EXPECT_FALSE(now.contains(QString::number(today.year())));
    EXPECT_FALSE(now.contains(QLocale::system().monthName(today.month())));
    EXPECT_FALSE(now.contains(QLocale::system().dayName(today.dayOfWeek())));
    EXPECT_FALSE(now.contains(QStringLiteral("UTC")));
}

// Every caption is drawn with real glyphs: a missing one would show as a box.
TEST_F(QtWindowTest, NoCaptionShowsAsBoxes) {
    for (Control* control : model.form().controls()) {
        QWidget* w = widget(*control);
        if (!w) continue;
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
    }
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
        const QFont font = book.font(design);
        EXPECT_EQ(font.family(), QString::fromUtf8(family));
        EXPECT_EQ(font.pixelSize(), view::fontPixelHeight(design.points)) << family;
        EXPECT_EQ(font.bold(), design.bold) << family;
        EXPECT_EQ(font.italic(), design.italic) << family;
        book.font(design);
        EXPECT_EQ(book.size(), 1u);
    }
}

TEST_F(QtWindowTest, HeadingsUseTheKaiFace) {
    QTextLayout layout(label(model.Label5(1))->caption(), widget(model.Label5(1))->font());
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    ASSERT_FALSE(layout.glyphRuns().isEmpty());
    EXPECT_EQ(layout.glyphRuns().front().rawFont().familyName(), QStringLiteral("AR PL KaitiM GB"));
    EXPECT_TRUE(widget(model.Label5(0))->font().italic());
}

} // namespace
} // namespace pelmora::testing
