// A person's action repaints exactly the widgets whose controls changed: none of the
// others, and none of the changed ones is missed. Repaints are counted with an event
// filter on the whole application after each action has been painted on the offscreen
// platform; the model's state before and after says which controls changed.
#include <QAbstractButton>

#include <functional>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "qt_window_fixture.h"

namespace pelmora {
namespace {

using testing::ShownWindow;

class PaintCounter : public QObject {
public:
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            painted.insert(object);
            ++paints;
        }
        return false;
    }
    std::set<QObject*> painted;
    long paints = 0;
};

// Everything a widget shows of its control.
using Shown = std::tuple<Text, int, Colour, Colour, bool, float>;

Shown shownOf(const Control& c) {
    Text text;
    int value = 0;
    if (auto* label = dynamic_cast<const Label*>(&c)) text = label->caption();
    if (auto* box = dynamic_cast<const TextBox*>(&c)) text = box->text();
    if (auto* check = dynamic_cast<const CheckBox*>(&c)) value = check->value();
    return {text, value, c.foreColour(), c.backColour(), c.visible(), c.left()};
}

std::string nameOf(const Control& c) {
    return c.name() + (c.isArrayMember() ? "(" + std::to_string(c.index()) + ")" : "");
}

class TouchTest : public ::testing::Test, public ShownWindow {
protected:
    // A blinking caret would repaint its entry, a clock tick its label.
    static void SetUpTestSuite() { QApplication::setCursorFlashTime(0); }
    TouchTest() : ShownWindow(Clock::Stopped) {
        EXPECT_TRUE(shown);
        qApp->installEventFilter(&counter);
    }
    ~TouchTest() override { qApp->removeEventFilter(&counter); }

    // Runs `step` and waits for the frame that paints what it left dirty: Qt paints every
    // dirty widget in the one frame that follows. The deadline only bounds a hang.
    void paintAfter(const std::function<void()>& step) {
        const long before = counter.paints;
        step();
        EXPECT_TRUE(QTest::qWaitFor([&] { return counter.paints > before; }, 30000));
    }

    // Runs `action`, lets it paint, and checks the repainted widgets against the
    // controls that changed. `acted` is the widget the person used, which repaints itself.
    void expectRepaintsMatchChanges(const std::function<void()>& action, QWidget* acted) {
        std::map<const Control*, Shown> before;
        for (const Control* c : model.form().controls()) before[c] = shownOf(*c);
        counter.painted.clear();
        paintAfter(action);

        // Qt repaints what lies under a repainted widget too (the data entry overlaps
        // its caption by a pixel), so an unchanged widget may repaint only there.
        std::vector<QRect> repaintedAnyway;
        if (acted) repaintedAnyway.push_back(acted->geometry());
        for (const Control* c : model.form().controls())
            if (QWidget* w = widget(*c); w && before[c] != shownOf(*c))
                repaintedAnyway.push_back(w->geometry());
        const auto overlapsRepainted = [&](const QWidget* w) {
            for (const QRect& r : repaintedAnyway)
                if (r != w->geometry() && r.intersects(w->geometry())) return true;
            return false;
        };

        int changed = 0;
        for (const Control* c : model.form().controls()) {
            QWidget* w = widget(*c);
            if (!w || w == acted) continue;
            const bool differs = before[c] != shownOf(*c);
            const bool painted = counter.painted.count(w) == 1;
            changed += differs;
            if (differs)
                EXPECT_TRUE(painted) << nameOf(*c) << " changed but was not repainted";
            else
                EXPECT_TRUE(!painted || overlapsRepainted(w))
                    << nameOf(*c) << " repainted without a change";
        }
        EXPECT_GT(changed, 0);
    }

    PaintCounter counter;
};

TEST_F(TouchTest, Keystrokes) {
    QLineEdit* entry = edit(model.txtDataIn);
    paintAfter([&] { QTest::keyClicks(entry, QStringLiteral("1234567")); });
    expectRepaintsMatchChanges([&] { QTest::keyClick(entry, Qt::Key_F); }, entry);
    expectRepaintsMatchChanges([&] { QTest::keyClick(entry, Qt::Key_Backspace); }, entry);
    expectRepaintsMatchChanges([&] { QTest::keyClick(entry, Qt::Key_0); }, entry);
}

TEST_F(TouchTest, SelectAndClearSelect) {
    paintAfter([&] {
        model.txtDataIn.setText(u"DEADBEEF");
        model.txtSelectRang.setText(u"3,10");
    });
    QPushButton* select = button(model.Command2);
    expectRepaintsMatchChanges([&] { select->click(); }, select);
    QPushButton* clear = button(model.Command3);
    expectRepaintsMatchChanges([&] { clear->click(); }, clear);
}

TEST_F(TouchTest, ComposerBoxesAndClearSet) {
    QAbstractButton* box = check(model.BitSetCheck(5));
    expectRepaintsMatchChanges([&] { box->click(); }, box);
    paintAfter([&] {
        for (int i = 0; i <= 31; ++i) model.BitSetCheck(i).setValue(1);
    });
    QPushButton* clear = button(model.CmdClrSet);
    expectRepaintsMatchChanges([&] { clear->click(); }, clear);
}

} // namespace
} // namespace pelmora
