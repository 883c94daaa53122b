#pragma once
// The page's side of the web front end, implemented in web_page.js: elements made and
// styled by number, the person's actions and the clocks' ticks queued as events, a modal
// message box, the time of day and the live region. Two calls wait (Asyncify): the next
// event and the message box. The page decides nothing; it carries out what it is told.

#include <cstddef>

namespace pelmora::web {
// Edit: a text box's new text. Click: a button or a check box. Tick: timer number
// `element` is due. Enter: pressed where `element` has the focus, the modifiers held as the
// value (Shift 1, Ctrl 2, Alt 4). Announce: the turn that asked for one is over.
enum class PageEvent { Edit = 1, Click = 2, Tick = 3, Enter = 4, Announce = 5 };
} // namespace pelmora::web

// None of them throws: declared so, a call needs no exception landing pad, which with
// emscripten's exceptions would make it a round trip through JavaScript.
extern "C" {

void pelmora_title(const char16_t* title, std::size_t length) noexcept;
// Element 0 is the client area. pelmora_add appends the elements of `html` to it, which
// get the numbers `elements` in their order; pelmora_style adds declarations to an
// element's inline style.
void pelmora_add(const char* html, const int* elements, std::size_t count) noexcept;
void pelmora_style(int element, const char* style) noexcept;
void pelmora_text(int element, const char16_t* text, std::size_t length) noexcept;
void pelmora_checked(int element, int checked) noexcept;
int pelmora_caret(int element) noexcept;
// Copies up to `capacity` units of a text box's text and returns the text's full length.
std::size_t pelmora_value(int element, char16_t* out, std::size_t capacity) noexcept;
void pelmora_set_caret(int element, int caret) noexcept;
// Moves the element behind the client's others: called in tab order, it makes the page's
// order of focus the given one.
void pelmora_append(int element) noexcept;
void pelmora_focus(int element) noexcept;
void pelmora_clock(int timer, int interval, int running) noexcept;

// Waits for the next event and returns its kind (pelmora::web::PageEvent); its element,
// value and text follow from the three calls after it.
int pelmora_next_event(void) noexcept;
int pelmora_event_element(void) noexcept;
int pelmora_event_value(void) noexcept;
// Copies up to `capacity` units of the event's text and returns the text's full length.
std::size_t pelmora_event_text(char16_t* out, std::size_t capacity) noexcept;

// Shows the modal box and waits for OK.
void pelmora_message_box(const char16_t* prompt, std::size_t promptLength, int flags,
                         const char16_t* title, std::size_t titleLength) noexcept;
std::size_t pelmora_time_of_day(char16_t* out, std::size_t capacity) noexcept;
void pelmora_announce(const char16_t* text, std::size_t length) noexcept;
// Queues an Announce event for when the current turn of the page's event loop is over.
void pelmora_after_turn(void) noexcept;
// From now on no event comes: the clocks stop and the page takes no more actions.
void pelmora_end(int code) noexcept;
}
