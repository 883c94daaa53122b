#pragma once
// PendingAnnouncement holds what the screen reader is to say until the person's action is
// over and control is back in the front end's event loop. It says nothing itself: the
// front end arranges one call of take() for after the current turn and speaks its answer.
//
// Why later and only the last: the toolkit reports the person's own keystroke to the
// screen reader after the change handler returns, and a result said inside the handler
// would be cut off by that echo; and of several results given in one turn only the last
// still describes the window.

#include <utility>

#include "toolkit/text.h"

namespace pelmora::view {

class PendingAnnouncement {
public:
    // Keeps `text`, in place of any text kept before. True when nothing was kept yet: the
    // front end must then arrange a call of take() once the current turn is over.
    [[nodiscard]] bool hold(Text text) {
        text_ = std::move(text);
        return !std::exchange(held_, true);
    }
    // The text to say now (empty: say nothing); nothing is kept afterwards.
    Text take() {
        held_ = false;
        return std::exchange(text_, Text());
    }

private:
    Text text_;
    bool held_ = false;
};

} // namespace pelmora::view
