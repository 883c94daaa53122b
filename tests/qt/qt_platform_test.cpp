// The message box and the clock text of the Qt platform, and glyph coverage of every
// caption the window draws.
#include <QDate>
#include <QMessageBox>
#include <QRawFont>
#include <QTextLayout>
#include <QTimer>

#include "frontends/qt/qt_fonts.h"
#include "frontends/qt/qt_platform.h"
#include "view/layout.h"
#include <ostream>

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

// Once the box is up, notes what it looks like and presses its OK button.
void closeBoxWhenShown(SeenBox& seen) {
    QTimer::singleShot(10, [&seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return closeBoxWhenShown(seen);
        seen = {true,
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
    SeenBox seen;
    closeBoxWhenShown(seen);
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
    SeenBox seen;
    closeBoxWhenShown(seen);
    QTest::keyClicks(entry, QStringLiteral("Z"));

    ASSERT_TRUE(seen.seen);
    EXPECT_EQ(seen.text, q(u"请正确输入16进制数"));
    EXPECT_EQ(seen.parent, &window);
    EXPECT_EQ(entry->text(), QStringLiteral("7"));
    EXPECT_EQ(model.txtDataIn.text(), u"7");
}

struct ClockRow {
    const char* locale;
    const char16_t* text; // 14:05:09
};
// Names the row in test listings instead of dumping its bytes.
void PrintTo(const ClockRow& row, std::ostream* out) { *out << row.locale; }

class ClockText : public ::testing::TestWithParam<ClockRow> {};

TEST_P(ClockText, IsTheLocalesTimeWithSecondsAndNoZone) {
    const QLocale locale(QString::fromLatin1(GetParam().locale));
    EXPECT_EQ(timeOfDayTextQt(locale, QTime(14, 5, 9)), q(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(
    Locales, ClockText,
    ::testing::Values(ClockRow{"C", u"14:05:09"}, ClockRow{"en_US", u"2:05:09 PM"},
                      ClockRow{"de_DE", u"14:05:09"}, ClockRow{"zh_CN", u"14:05:09"},
                      ClockRow{"ja_JP", u"14時05分09秒"},
                      ClockRow{"zh_TW", u"下午2:05:09"},       // a day period Qt lacks
                      ClockRow{"eu_ES", u"14:05:09"},          // "(t)"
                      ClockRow{"be_BY", u"14:05:09"},          // ", t"
                      ClockRow{"fr_CA", u"14 h 05 min 09 s"}), // quoted literals stay
    [](const auto& info) { return std::string(info.param.locale); });

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

struct FaceRow {
    const char* what;
    Font design;
    const char* family; // what Qt is asked for
};

// Names the row in test listings instead of dumping its bytes.
void PrintTo(const FaceRow& row, std::ostream* out) { *out << row.what; }

class FontBookFaces : public ::testing::TestWithParam<FaceRow> {};

TEST_P(FontBookFaces, AsksForAnInstalledFace) {
    QtFontBook book;
    const FaceRow& row = GetParam();
    const QFont font = book.font(row.design);
    EXPECT_EQ(font.family(), QString::fromUtf8(row.family));
    EXPECT_EQ(font.pixelSize(), view::fontPixelHeight(row.design.points));
    EXPECT_EQ(font.bold(), row.design.bold);
    EXPECT_EQ(font.italic(), row.design.italic);
    book.font(row.design);
    EXPECT_EQ(book.size(), 1u); // one QFont per distinct design font
}

INSTANTIATE_TEST_SUITE_P(
    Faces, FontBookFaces,
    ::testing::Values(FaceRow{"sans", fonts::sans(8.25f), "Liberation Sans"},
                      FaceRow{"sansBold", fonts::sans(12, true), "Liberation Sans"},
                      FaceRow{"kaiItalic", fonts::kai(15.75f, true), "AR PL KaitiM GB"},
                      FaceRow{"installed", Font{u"DejaVu Sans", 9, false, false, 0}, "DejaVu Sans"},
                      FaceRow{"unknown", Font{u"No Such Face", 9, false, false, 0},
                              "No Such Face"}),
    [](const auto& info) { return std::string(info.param.what); });

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
