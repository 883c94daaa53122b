// The widgets the view creates: where they are, how they look, what a screen reader
// hears, and how model changes reach them.
#include <QAccessible>

#include "frontends/qt/qt_client_widget.h"
#include "view/layout.h"
#include "view/view_policy.h"

#include "qt_window_fixture.h"

namespace pelmora::testing {
namespace {

// Where each control lands is the view's to say (core/view_test.cpp); here every widget
// must sit exactly there, shown.
TEST_F(QtWindowTest, EveryWidgetSitsOnItsControlsRectangle) {
    std::size_t widgets = 0;
    for (const Control* c : model.form().controls()) {
        QWidget* w = widget(*c);
        if (!w) continue;
        ++widgets;
        const view::PixelRect r = view::controlRect(*c);
        EXPECT_EQ(w->geometry(), QRect(r.x, r.y, r.width, r.height)) << c->name() << c->index();
        EXPECT_TRUE(w->isVisible()) << c->name() << c->index();
    }
    // and no widget besides them
    EXPECT_EQ(widgets,
              static_cast<std::size_t>(
                  window->client().findChildren<QWidget*>(Qt::FindDirectChildrenOnly).size()));
    EXPECT_EQ(widgets, view::widgetsAtStart(model.form()).size());
}

TEST_F(QtWindowTest, ClientIsFixedAndTheWindowOnlyAddsSpace) {
    QWidget& client = window->client();
    EXPECT_EQ(client.geometry(), QRect(0, 0, 662, 341));
    EXPECT_EQ(window->size(), QSize(662, 341));
    window->resize(900, 500);
    QCoreApplication::processEvents();
    EXPECT_EQ(client.geometry(), QRect(0, 0, 662, 341));
    EXPECT_EQ(widget(model.LblBitInfo(0))->geometry(), QRect(632, 88, 17, 17));
    window->resize(300, 200);
    QCoreApplication::processEvents();
    EXPECT_EQ(client.geometry(), QRect(0, 0, 662, 341));
}

const QColor lightBlue(192, 192, 255), darkBlue(0, 0, 192), red(255, 0, 0), none;

// The design's colours as RGB after load; an invalid one is the dialog's own.
TEST_F(QtWindowTest, LabelsShowTheDesignsColoursAfterLoad) {
    const struct {
        const char* name;
        int index;
        QColor fore, back;
    } rows[] = {
        {"LblBitInfo", 0, none, lightBlue},
        {"LblBitInfo", 31, none, lightBlue},
        {"LblBitSetInfo", 16, none, lightBlue},
        {"lblBitIndex", 7, darkBlue, none},
        {"lblBitIndex", 23, darkBlue, none},
        {"lblBitIndex", 8, QColor(192, 0, 192), none},
        {"lblBitSetIndex", 31, darkBlue, none},
        {"lblBitSetIndex", 16, QColor(255, 0, 255), none},
        {"Label2", -1, red, none},
        {"Label5", 1, QColor(0, 0, 255), none},
        {"Label5", 0, red, none},
    };
    const QPalette& palette = window->client().palette();
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.name) + std::to_string(row.index));
        QtLabelWidget* l = label(model.form().array<Label>(row.name)(row.index));
        ASSERT_NE(l, nullptr);
        EXPECT_EQ(l->foreColour(),
                  row.fore.isValid() ? row.fore : palette.color(QPalette::ButtonText));
        EXPECT_EQ(l->backColour(), row.back.isValid() ? row.back : palette.color(QPalette::Window));
    }
}

TEST_F(QtWindowTest, LabelsCarryBorderAndAlignment) {
    EXPECT_TRUE(label(model.LblBitSelected)->hasBorder());
    EXPECT_EQ(label(model.LblBitSelected)->alignment(), Qt::AlignHCenter);
    EXPECT_TRUE(label(model.lblBitSelectedHex)->hasBorder());
    EXPECT_EQ(label(model.lblBitSelectedHex)->alignment(), Qt::AlignLeft);
    EXPECT_FALSE(label(model.LblBitInfo(3))->hasBorder());
    EXPECT_EQ(edit(model.txtDataIn)->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(edit(model.TxtBitSetHex)->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    EXPECT_FALSE(widget(model.LblBitInfo(0))->focusPolicy() & Qt::TabFocus);
}

TEST_F(QtWindowTest, NeverShownReadoutsGetNoWidgetUntilShown) {
    EXPECT_EQ(widget(model.LblBitSetBinary), nullptr);
    for (int k = 0; k <= 7; ++k) EXPECT_EQ(widget(model.LblBitSetHex(k)), nullptr);
    model.BitSetCheck(5).setValue(1); // the composer writes them
    EXPECT_EQ(model.LblBitSetBinary.caption(), u"100000");
    EXPECT_EQ(widget(model.LblBitSetBinary), nullptr);

    // Shown after all, one appears where the design puts it, with what it holds.
    model.LblBitSetHex(1).setVisible(true);
    QtLabelWidget* nibble = label(model.LblBitSetHex(1));
    ASSERT_NE(nibble, nullptr);
    EXPECT_TRUE(nibble->isVisible());
    EXPECT_EQ(nibble->geometry(), QRect(527, 234, 25, 25)); // (8307 - 400) / 15
    EXPECT_EQ(nibble->caption(), QString::fromStdU16String(model.LblBitSetHex(1).caption()));
}

TEST_F(QtWindowTest, ModelChangesReachOnlyTheirWidget) {
    model.LblBitInfo(5).setBackColour(colours::Red);
    model.LblBitInfo(5).setCaption(u"1");
    EXPECT_EQ(label(model.LblBitInfo(5))->backColour(), QColor(255, 0, 0));
    EXPECT_EQ(label(model.LblBitInfo(5))->caption(), QStringLiteral("1"));
    EXPECT_EQ(label(model.LblBitInfo(4))->backColour(), lightBlue);
    EXPECT_EQ(label(model.LblBitInfo(4))->caption(), QStringLiteral("0"));
    EXPECT_EQ(label(model.LblBitSetInfo(5))->backColour(), lightBlue);

    model.BitCheck(9).setLeft(1500);
    EXPECT_EQ(widget(model.BitCheck(9))->pos(), QPoint(100, 112));
    EXPECT_EQ(widget(model.lblBitIndex(9))->pos().x(), 632 - 9 * 20);

    model.Label2.setVisible(false);
    EXPECT_FALSE(widget(model.Label2)->isVisible());
}

TEST_F(QtWindowTest, CodeSettingABoxOrTextRaisesItsEventOnceAndNoEcho) {
    int& changes = countHandlerRuns(model.txtDataIn);
    int& clicks = countHandlerRuns(model.BitCheck(3));

    model.txtDataIn.setText(u"1F");
    EXPECT_EQ(edit(model.txtDataIn)->text(), QStringLiteral("1F"));
    EXPECT_EQ(changes, 1);

    model.BitCheck(3).setValue(1);
    EXPECT_TRUE(check(model.BitCheck(3))->isChecked());
    EXPECT_FALSE(check(model.BitCheck(2))->isChecked());
    EXPECT_EQ(clicks, 1);
    model.BitCheck(3).setValue(1); // unchanged: nothing at all
    EXPECT_EQ(clicks, 1);
    QCoreApplication::sendPostedEvents(); // queued signals, if any, arrive now
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(clicks, 1);
}

// UTF-16 code units cross between widget and model one for one, even those that do not
// form characters.
TEST_F(QtWindowTest, TextCrossesWithoutLossLoneSurrogatesIncluded) {
    const Text samples[] = {u"比特", u"\U0001F600x", Text{u'a', char16_t(0xD800), u'b'},
                            Text(1, char16_t(0xDC00))};
    for (const Text& sample : samples) {
        model.TxtBitSetHex.setText(sample);
        EXPECT_EQ(toText(edit(model.TxtBitSetHex)->text()), sample);

        QLineEdit* entry = edit(model.txtSelectRang);
        entry->clear();
        model.txtSelectRang.setText(u"");
        entry->insert(toQString(sample)); // as a paste
        EXPECT_EQ(model.txtSelectRang.text(), sample);
    }
}

TEST_F(QtWindowTest, ScreenReadersHearNamesAndCellValues) {
    model.txtDataIn.setText(u"8");
    QAccessibleInterface* cell = QAccessible::queryAccessibleInterface(widget(model.LblBitInfo(3)));
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->role(), QAccessible::StaticText);
    EXPECT_EQ(cell->text(QAccessible::Name), q(u"比特查看 第3位 数值"));
    EXPECT_EQ(cell->text(QAccessible::Value), QStringLiteral("1"));

    QAccessibleInterface* caption = QAccessible::queryAccessibleInterface(widget(model.Label1(0)));
    EXPECT_EQ(caption->text(QAccessible::Name), q(u"选择位范围"));

    QAccessibleInterface* box =
        QAccessible::queryAccessibleInterface(widget(model.BitSetCheck(12)));
    EXPECT_EQ(box->role(), QAccessible::CheckBox);
    EXPECT_EQ(box->text(QAccessible::Name), q(u"比特设置 第12位"));
    EXPECT_EQ(widget(model.txtDataIn)->accessibleName(), q(u"数据输入"));
}

TEST_F(QtWindowTest, AssistiveToggleOfABoxActsAsAClick) {
    QAccessibleInterface* box = QAccessible::queryAccessibleInterface(widget(model.BitSetCheck(5)));
    ASSERT_NE(box->actionInterface(), nullptr);
    for (const char* hex : {"20", "0"}) {
        box->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        EXPECT_EQ(edit(model.TxtBitSetHex)->text(), QString::fromLatin1(hex));
        EXPECT_EQ(box->state().checked, model.BitSetCheck(5).value() == 1);
    }
}

TEST_F(QtWindowTest, WindowHasCaptionAndIcon) {
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Pelmoria"));
    const QList<QSize> sizes = window->windowIcon().availableSizes();
    EXPECT_TRUE(sizes.contains(QSize(16, 16)));
    EXPECT_TRUE(sizes.contains(QSize(64, 64)));
    EXPECT_EQ(QGuiApplication::desktopFileName(), QStringLiteral("org.pelmora.Pelmora"));
}

TEST_F(QtWindowTest, ClosingTheWindowEndsTheProgram) {
    EXPECT_EQ(exitCodeAfter([this] { window->close(); }), 0);
    EXPECT_FALSE(window->isVisible());
}

} // namespace
} // namespace pelmora::testing
