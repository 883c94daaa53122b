// What the person does in the window reaches the model's setters, once, and the
// handlers' results come back to the widgets: typing, ticking, Tab, Space, Enter, the
// clock.
#include <QTimer>

#include <ostream>

#include "qt_window_fixture.h"

namespace pelmora::testing {
namespace {

const QColor lightBlue(192, 192, 255), red(255, 0, 0);

TEST_F(QtWindowTest, FocusStartsInTheEntry) {
    EXPECT_EQ(QApplication::focusWidget(), widget(model.txtDataIn));
}

TEST_F(QtWindowTest, TypingPaintsTheCells) {
    QTest::keyClicks(edit(model.txtDataIn), QStringLiteral("1F"));
    EXPECT_EQ(model.txtDataIn.text(), u"1F");
    for (int i = 0; i <= 31; ++i) {
        SCOPED_TRACE(i);
        const bool one = i <= 4;
        EXPECT_EQ(label(model.LblBitInfo(i))->caption(),
                  one ? QStringLiteral("1") : QStringLiteral("0"));
        EXPECT_EQ(label(model.LblBitInfo(i))->backColour(), one ? red : lightBlue);
    }
}

TEST_F(QtWindowTest, EveryKeystrokeRaisesTheChangeOnce) {
    int& changes = countHandlerRuns(model.txtDataIn);
    QTest::keyClicks(edit(model.txtDataIn), QStringLiteral("ABC"));
    QTest::keyClick(edit(model.txtDataIn), Qt::Key_Backspace);
    EXPECT_EQ(changes, 4);
    EXPECT_EQ(model.txtDataIn.text(), u"AB");
}

struct RefusedRow {
    const char* what;
    const char* before;
    int caret; // where the person types
    const char* typed;
    const char16_t* shown;   // what entry and model hold afterwards
    std::vector<int> carets; // the caret while each message is up, then at the end
};
// Names the row in test listings instead of dumping its bytes.
void PrintTo(const RefusedRow& row, std::ostream* out) { *out << row.what; }

class RefusedEntry : public QtWindowTest, public ::testing::WithParamInterface<RefusedRow> {};

// The handler takes the last character back while the person's keystroke is still being
// processed; the widget must end up showing the model's text. The caret stays where the
// person left it while the text is long enough, else at the end.
TEST_P(RefusedEntry, WidgetShowsWhatTheModelKept) {
    const RefusedRow& row = GetParam();
    QLineEdit* entry = edit(model.txtDataIn);
    QTest::keyClicks(entry, QString::fromLatin1(row.before));
    entry->setCursorPosition(row.caret);
    std::vector<int> carets;
    platform.whileShown = [&] { carets.push_back(entry->cursorPosition()); };
    QTest::keyClicks(entry, QString::fromLatin1(row.typed));
    carets.push_back(entry->cursorPosition());

    EXPECT_EQ(model.txtDataIn.text(), row.shown);
    EXPECT_EQ(entry->text(), q(row.shown));
    EXPECT_EQ(carets, row.carets);
}

INSTANTIATE_TEST_SUITE_P(
    Typing, RefusedEntry,
    ::testing::Values(
        RefusedRow{"badDigitAtEnd", "12", 2, "G", u"12", {3, 2}},
        // The last character goes, not the bad one: the shortening repeats until valid.
        RefusedRow{"badDigitInside", "1234", 1, "G", u"1", {2, 2, 2, 2, 1}},
        // Nine digits are refused but stay: no text box limits its length.
        RefusedRow{"nineDigits", "12345678", 8, "9", u"123456789", {9, 9}}),
    [](const auto& info) { return std::string(info.param.what); });

TEST_F(QtWindowTest, LongPasteReachesTheModelWhole) {
    QLineEdit* entry = edit(model.TxtBitSetBinary);
    entry->selectAll();
    const QString pasted(40000, u'1');
    entry->insert(pasted); // the same path as a paste
    EXPECT_EQ(entry->text().size(), 40000);
    EXPECT_EQ(model.TxtBitSetBinary.text().size(), 40000u);
}

TEST_F(QtWindowTest, TabWalksTheDesignOrderWithCreatedBoxesAfterMemberZero) {
    QStringList expected{QStringLiteral("txtDataIn"), QStringLiteral("Command2")};
    for (int i = 0; i <= 31; ++i) expected << QStringLiteral("BitCheck(%1)").arg(i);
    expected << QStringLiteral("txtSelectRang") << QStringLiteral("Command3");
    for (int i = 0; i <= 31; ++i) expected << QStringLiteral("BitSetCheck(%1)").arg(i);
    expected << QStringLiteral("TxtBitSetBinary") << QStringLiteral("TxtBitSetHex")
             << QStringLiteral("CmdClrSet") << QStringLiteral("txtDataIn");

    QStringList walked{QApplication::focusWidget()->objectName()};
    for (qsizetype n = 1; n < expected.size(); ++n) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        walked << QApplication::focusWidget()->objectName();
    }
    EXPECT_EQ(walked, expected);
}

TEST_F(QtWindowTest, SpaceTicksAndUnticksABoxRunningTheHandlerOnceEach) {
    for (CheckBox* box : {&model.BitCheck(0), &model.BitCheck(31), &model.BitSetCheck(1)}) {
        SCOPED_TRACE(box->name() + std::to_string(box->index()));
        int& clicks = countHandlerRuns(*box);
        QCheckBox* widgetBox = check(*box);
        widgetBox->setFocus();
        QTest::keyClick(widgetBox, Qt::Key_Space);
        EXPECT_EQ(clicks, 1);
        EXPECT_EQ(box->value(), 1);
        EXPECT_TRUE(widgetBox->isChecked());
        QTest::keyClick(widgetBox, Qt::Key_Space);
        EXPECT_EQ(clicks, 2);
        EXPECT_EQ(box->value(), 0);
        EXPECT_FALSE(widgetBox->isChecked());
    }
}

TEST_F(QtWindowTest, ClickingBoxesComposesTheValue) {
    QTest::mouseClick(check(model.BitSetCheck(4)), Qt::LeftButton);
    QTest::mouseClick(check(model.BitSetCheck(0)), Qt::LeftButton);
    EXPECT_EQ(edit(model.TxtBitSetHex)->text(), QStringLiteral("11"));
    EXPECT_EQ(edit(model.TxtBitSetBinary)->text(), QStringLiteral("10001"));
    EXPECT_EQ(label(model.LblBitSetInfo(4))->backColour(), red);

    QTest::mouseClick(button(model.CmdClrSet), Qt::LeftButton);
    EXPECT_FALSE(check(model.BitSetCheck(4))->isChecked());
    EXPECT_EQ(model.BitSetCheck(4).value(), 0);
    EXPECT_EQ(edit(model.TxtBitSetHex)->text(), QStringLiteral("0"));
}

TEST_F(QtWindowTest, EnterInTheRangeBoxPressesSelect) {
    QLineEdit* range = edit(model.txtSelectRang);
    range->setFocus();
    QTest::keyClicks(range, QStringLiteral("0,3"));
    QTest::keyClick(range, Qt::Key_Return);
    for (int i = 0; i <= 5; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(model.BitCheck(i).value(), i <= 3 ? 1 : 0);
        EXPECT_EQ(check(model.BitCheck(i))->isChecked(), i <= 3);
    }
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(QtWindowTest, EnterOnABoxPressesSelectButOnAFocusedButtonThatButton) {
    int& selects = countHandlerRuns(model.Command2);
    int& clears = countHandlerRuns(model.Command3);
    QTest::keyClick(check(model.BitCheck(2)), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(selects, 1);
    button(model.Command3)->setFocus();
    QTest::keyClick(button(model.Command3), Qt::Key_Return);
    EXPECT_EQ(clears, 1);
    EXPECT_EQ(selects, 1);
}

// The clock's rhythm is read off the view's timer, which no load on the machine can
// disturb; what a tick writes is then waited for, the timer hurried along meanwhile.
TEST_F(QtWindowTest, ClockTicksIntoLabel3EveryHalfSecond) {
    const QList<QTimer*> clocks = window->view().findChildren<QTimer*>();
    ASSERT_EQ(clocks.size(), 1);
    EXPECT_EQ(clocks[0]->interval(), 500);
    EXPECT_TRUE(clocks[0]->isActive());
    clocks[0]->setInterval(10);
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return label(model.Label3)->caption() == "14:05:09"; }, 30000));
}

TEST_F(QtWindowTest, TicksWaitWhileAHandlerShowsAMessage) {
    auto* clock = window->view().findChild<QTimer*>();
    ASSERT_NE(clock, nullptr);
    clock->setInterval(10); // a faster clock, the same rule
    int ticks = 0;
    const auto counting = QObject::connect(clock, &QTimer::timeout, [&ticks] { ++ticks; });
    model.Label3.setCaption(u"before");
    platform.whileShown = [&] {
        // The box stays up until the clock has ticked twice.
        ticks = 0;
        EXPECT_TRUE(QTest::qWaitFor([&] { return ticks >= 2; }, 30000));
    };
    QTest::keyClicks(edit(model.txtDataIn), QStringLiteral("X"));
    QObject::disconnect(counting);
    EXPECT_EQ(label(model.Label3)->caption(), QStringLiteral("before"));
    EXPECT_EQ(model.form().maxEventDepth(), 2); // the retry ran inside the change, no tick
}

// Reported in a stop box titled with the caption, then the program ends with exit code 1,
// as after an untrapped run-time error.
TEST_F(QtWindowTest, AnErrorEscapingAHandlerIsReportedThenEndsTheProgram) {
    model.BitCheck(6).setHandler(
        [](std::int16_t) { throw RuntimeError(ErrorCode::Overflow, "overflow in handler"); });
    EXPECT_EQ(
        exitCodeAfter([this] { QTest::mouseClick(check(model.BitCheck(6)), Qt::LeftButton); }), 1);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].prompt, u"overflow in handler");
    EXPECT_EQ(platform.messages[0].title, u"Pelmoria");
    EXPECT_EQ(platform.messages[0].flags, message_box::Critical);
    EXPECT_TRUE(check(model.BitCheck(6))->isChecked()); // the value was set before
}

} // namespace
} // namespace pelmora::testing
