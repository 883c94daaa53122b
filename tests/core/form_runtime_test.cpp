// The toolkit's form on its own: control arrays, what a change tells the view and when,
// nested handlers and the tab order.
#include <gtest/gtest.h>

#include <functional>
#include <tuple>
#include <vector>

#include "recording_front_end.h"
#include "toolkit/form.h"

namespace pelmora {
namespace {

class FormRuntime : public ::testing::Test {
protected:
    FormRuntime() : form(FormSettings{u"t", 100, 100, {}, 0}) {
        form.add({.kind = ControlKind::CheckBox,
                  .name = "Box",
                  .index = 0,
                  .left = 900,
                  .top = 10,
                  .width = 255,
                  .height = 255,
                  .tabIndex = 2});
        form.add({.kind = ControlKind::TextBox, .name = "Entry", .tabIndex = 0});
        form.add({.kind = ControlKind::CommandButton,
                  .name = "Go",
                  .caption = u"Go",
                  .tabIndex = 1,
                  .isDefault = true});
        form.add({.kind = ControlKind::Label, .name = "Caption", .tabIndex = 3});
        form.add({.kind = ControlKind::Timer, .name = "Clock", .interval = 500});
        boxes().only().setHandler([this](std::int16_t i) { clicks.push_back(i); });
        view.load(form, [] {});
        view.show();
    }
    ControlArray<CheckBox>& boxes() { return form.array<CheckBox>("Box"); }
    TextBox& entry() { return form.array<TextBox>("Entry").only(); }

    Form form;
    testing::RecordingFrontEnd screen; // shows the form through the view, logging each call
    view::FormView view{screen};
    std::vector<int> clicks;
};

TEST_F(FormRuntime, CreatedMemberCopiesMemberZeroButStartsHidden) {
    boxes()(0).setValue(1);
    CheckBox& five = boxes().load(5);
    EXPECT_EQ(std::tuple(five.index(), five.visible(), five.left(), five.top(), five.width(),
                         five.value(), five.tabIndex()),
              std::tuple(5, false, 900.0f, 10, 255, 1, 2));
    five.setValue(0); // the copied handler reports the new member's own index
    EXPECT_EQ(clicks, (std::vector<int>{0, 5}));
}

TEST_F(FormRuntime, MissingMemberIsACatchableError) {
    for (int index : {1, -1, 32, 40000}) {
        try {
            boxes()(index);
            ADD_FAILURE() << index;
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.code(), ErrorCode::SubscriptOutOfRange);
        }
    }
    EXPECT_THROW(boxes().load(0), RuntimeError);          // exists already
    EXPECT_THROW(form.array<Label>("Box"), RuntimeError); // wrong kind
}

// Every property: a real change reaches the front end exactly once, and then runs the
// handler inside the setter; setting the value it already has does neither.
TEST_F(FormRuntime, EveryRealChangeTellsTheObserverOnceAndFirst) {
    Label& caption = form.array<Label>("Caption").only();
    Timer& clock = form.array<Timer>("Clock").only();
    std::vector<std::size_t> seenByHandlers;
    std::size_t from = 0;
    const Handler note = [&](std::int16_t) { seenByHandlers.push_back(screen.log.size() - from); };
    entry().setHandler(note);
    boxes()(0).setHandler(note);
    const std::pair<const char*, std::function<void()>> changes[] = {
        {"text Caption a @0", [&] { caption.setCaption(u"a"); }},
        {"text Entry x @0", [&] { entry().setText(u"x"); }},
        {"tick Box(0) 1", [&] { boxes()(0).setValue(1); }},
        {"colours Caption 255,0,0 on 240,240,240", [&] { caption.setForeColour(colours::Red); }},
        {"colours Caption 255,0,0 on 255,0,0", [&] { caption.setBackColour(colours::Red); }},
        {"place Caption", [&] { caption.setLeft(5); }},
        {"hide Caption", [&] { caption.setVisible(false); }},
        {"clock 0 500 off", [&] { clock.setEnabled(false); }}, // on at start
    };
    for (const auto& [told, change] : changes) {
        from = screen.log.size();
        change();
        change();
        EXPECT_EQ(screen.lines("", from), testing::Log{told});
    }
    EXPECT_EQ(seenByHandlers, (std::vector<std::size_t>{1, 1}));
}

TEST_F(FormRuntime, NestedHandlersAreCounted) {
    entry().setHandler([this](std::int16_t) {
        if (entry().text().size() > 1) entry().setText(entry().text().substr(1));
    });
    entry().setText(u"abcd");
    EXPECT_EQ(entry().text(), u"d");
    EXPECT_EQ(form.maxEventDepth(), 4);
    EXPECT_EQ(form.eventDepth(), 0);
}

TEST_F(FormRuntime, TabOrderSkipsLabelsAndKeepsMembersAfterTheirFirst) {
    boxes().load(2);
    boxes().load(1);
    std::vector<std::string> order;
    for (Control* c : form.tabOrder()) order.push_back(c->name() + std::to_string(c->index()));
    EXPECT_EQ(order, (std::vector<std::string>{"Entry-1", "Go-1", "Box0", "Box1", "Box2"}));
    ASSERT_NE(form.defaultButton(), nullptr);
    EXPECT_EQ(form.defaultButton()->name(), "Go");
}

} // namespace
} // namespace pelmora
