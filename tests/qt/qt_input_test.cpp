// What the person does in the window reaches the view, once, and the handlers' results come
// back to the widgets: typing, pasting, Tab, Space, a click, Enter, the clock, an error.
#include "qt_window_fixture.h"

namespace pelmora::testing {
namespace {

TEST_F(QtWindowTest, EveryKeystrokeRaisesTheChangeOnceAndPaintsTheCells) {
    QTest::keyClicks(edit(model.txtDataIn), QStringLiteral("1F"));
    for (int i = 0; i <= 31; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(label(model.LblBitInfo(i))->caption(), QChar(i <= 4 ? u'1' : u'0'));
        EXPECT_EQ(label(model.LblBitInfo(i))->backColour(),
                  i <= 4 ? QColor(255, 0, 0) : QColor(192, 192, 255));
    }
    int& changes = countHandlerRuns(model.txtDataIn);
    QTest::keyClicks(edit(model.txtDataIn), QStringLiteral("ABC"));
    QTest::keyClick(edit(model.txtDataIn), Qt::Key_Backspace);
    EXPECT_EQ(changes, 4);
    EXPECT_EQ(model.txtDataIn.text(), u"1FAB");
}

// The handler takes the last character back while the person's keystroke is still being
// handled by the entry; the entry must end up showing the model's text.
TEST(RefusedEntry, WidgetShowsWhatTheModelKept) {
    const struct {
        const char* what;
        const char* before;
        int caret; // where the person types
        const char* typed;
        const char16_t* shown;   // what entry and model hold afterwards
        std::vector<int> carets; // the caret while each message is up, then at the end
    } rows[] = {
        {"badDigitAtEnd", "12", 2, "G", u"12", {3, 2}},
        // The last character goes, not the bad one, until the rest is valid.
        {"badDigitInside", "1234", 1, "G", u"1", {2, 2, 2, 2, 1}},
        // Nine digits are refused but stay: no text box limits its length.
        {"nineDigits", "12345678", 8, "9", u"123456789", {9, 9}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        ShownWindow fresh;
        ASSERT_TRUE(fresh.shown);
        QLineEdit* entry = fresh.edit(fresh.model.txtDataIn);
        QTest::keyClicks(entry, QString::fromLatin1(row.before));
        entry->setCursorPosition(row.caret);
        std::vector<int> carets;
        fresh.window.whileShown = [&] { carets.push_back(entry->cursorPosition()); };
        QTest::keyClicks(entry, QString::fromLatin1(row.typed));
        carets.push_back(entry->cursorPosition());
        EXPECT_EQ(fresh.model.txtDataIn.text(), row.shown);
        EXPECT_EQ(entry->text(), q(row.shown));
        EXPECT_EQ(carets, row.carets);
    }
}

// The focus starts in the entry; boxes follow their member 0, bit 0 first.
TEST_F(QtWindowTest, TabWalksTheDesignOrderFromTheEntry) {
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

// Space and a click anywhere in the small square tick and untick, once each.
TEST_F(QtWindowTest, SpaceAndClicksTickAndUntickABoxOnceEach) {
    for (CheckBox* box : {&model.BitCheck(0), &model.BitCheck(31), &model.BitSetCheck(1)}) {
        SCOPED_TRACE(box->name() + std::to_string(box->index()));
        int& clicks = countHandlerRuns(*box);
        QCheckBox* widgetBox = check(*box);
        widgetBox->setFocus();
        for (const int ticked : {1, 0, 1, 0}) {
            if (clicks < 2)
                QTest::keyClick(widgetBox, Qt::Key_Space);
            else
                QTest::mouseClick(widgetBox, Qt::LeftButton, {}, QPoint(1, 1));
            EXPECT_EQ(box->value(), ticked);
            EXPECT_EQ(widgetBox->isChecked(), ticked == 1);
        }
        EXPECT_EQ(clicks, 4);
    }
}

// Enter presses the focused button, else the default one, and nothing with a modifier.
TEST_F(QtWindowTest, EnterPressesTheButtonTheViewNames) {
    int& selects = countHandlerRuns(model.Command2);
    int& clears = countHandlerRuns(model.Command3);
    const struct {
        const char* what;
        const char* focus; // the widget Enter is pressed on
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        const char* pressed; // the button it presses, or none
    } rows[] = {
        {"range", "txtSelectRang", Qt::Key_Return, {}, "Command2"},
        {"keypadOnABox", "BitCheck(2)", Qt::Key_Enter, Qt::KeypadModifier, "Command2"},
        {"focusedButton", "Command3", Qt::Key_Return, {}, "Command3"},
        {"shift", "txtDataIn", Qt::Key_Return, Qt::ShiftModifier, ""},
        {"control", "txtDataIn", Qt::Key_Return, Qt::ControlModifier, ""},
        {"alt", "BitCheck(2)", Qt::Key_Enter, Qt::AltModifier, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        selects = clears = 0;
        QWidget* focus = window.findChild<QWidget*>(QString::fromLatin1(row.focus));
        focus->setFocus();
        QTest::keyClick(focus, row.key, row.modifiers);
        const std::string pressed = selects ? "Command2" : clears ? "Command3" : "";
        EXPECT_EQ(pressed, row.pressed);
        EXPECT_LE(selects + clears, 1);
    }
}

// The clock's rhythm is read off its timer, which no load on the machine can disturb; what
// a tick writes is then waited for, the timer hurried along meanwhile.
TEST_F(QtWindowTest, ClockTicksIntoLabel3EveryHalfSecond) {
    const QList<QTimer*> clocks = window.findChildren<QTimer*>(Qt::FindDirectChildrenOnly);
    ASSERT_EQ(clocks.size(), 1);
    EXPECT_EQ(clocks[0]->interval(), 500);
    EXPECT_TRUE(clocks[0]->isActive());
    clocks[0]->setInterval(10);
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return label(model.Label3)->caption() == "14:05:09"; }, 30000));
}

// Reported in a stop box titled with the caption, then the event loop ends with exit code
// 1, as after an untrapped run-time error.
TEST_F(QtWindowTest, AnErrorEscapingAHandlerIsReportedThenEndsTheProgram) {
    model.BitCheck(6).setHandler(
        [](std::int16_t) { throw RuntimeError(ErrorCode::Overflow, "overflow in handler"); });
    EXPECT_EQ(
        exitCodeAfter([this] { QTest::mouseClick(check(model.BitCheck(6)), Qt::LeftButton); }), 1);
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].prompt, u"overflow in handler");
    EXPECT_EQ(window.messages[0].title, u"Pelmoria");
    EXPECT_EQ(window.messages[0].icon, view::MessageIcon::Stop);
    EXPECT_TRUE(check(model.BitCheck(6))->isChecked()); // the value was set before
}

} // namespace
} // namespace pelmora::testing
