#pragma once
// The page's side of the web front end, implemented in web_page.js: elements made by
// number and given attributes, styles, texts and ticks; the person's actions and the
// clocks' ticks queued as events; a modal message box, the time of day and the live region.
// Two calls wait (Asyncify): the next event and the message box. The page decides nothing.
// None throws: so declared, a call needs no landing pad, which with emscripten's exceptions
// would make it a round trip through JavaScript (so too would a temporary in a call's
// arguments). Texts are UTF-16; a copy out takes up to `capacity` units and returns the length.

#include <cstddef>

namespace pelmora::web {
// Edit: a text box's new text. Click: on `element`. Tick: clock `element` is due. Enter:
// where `element` has the focus, the modifiers held as the value (Shift 1, Ctrl 2, Alt 4).
// TurnOver: the turn that asked for it is over.
enum class PageEvent { Edit = 1, Click = 2, Tick = 3, Enter = 4, TurnOver = 5 };
} // namespace pelmora::web

extern "C" {
void pelmora_title(const char16_t* title, std::size_t length) noexcept;
// Appends element `element` to the client area, element 0: a block of text, an entry, a
// check box or a button, as view::WidgetKind counts them.
void pelmora_make(int element, int kind) noexcept;
void pelmora_attribute(int element, const char* name, const char16_t* value,
                       std::size_t length) noexcept;
// Sets the declarations in `css`, each % in it replaced by the next of `numbers` and each #%
// by the next as a colour (0xRRGGBB).
void pelmora_style(int element, const char* css, const int* numbers) noexcept;
// An entry's text with its caret at `caret`, or any other element's text.
void pelmora_text(int element, const char16_t* text, std::size_t length, int caret) noexcept;
int pelmora_caret(int element) noexcept;
void pelmora_checked(int element, bool checked) noexcept;
// Puts these elements first, in this order: the page's order of focus. The elements made
// since the last call take the styles given them so far here.
void pelmora_order(const int* elements, std::size_t count) noexcept;
void pelmora_focus(int element) noexcept;
void pelmora_clock(int clock, int interval, bool running) noexcept;
// Waits for the next event and returns its kind; its element, value and text follow.
int pelmora_next_event() noexcept;
int pelmora_event_element() noexcept;
int pelmora_event_value() noexcept;
std::size_t pelmora_event_text(char16_t* out, std::size_t capacity) noexcept;
// The hour, minute and second into `clock`; the locale's time pattern in Windows' notation,
// its morning word and its afternoon word, one a line, into `out`.
std::size_t pelmora_local_time(int* clock, char16_t* out, std::size_t capacity) noexcept;
// Shows the modal box with `icon`, a view::MessageIcon, and waits for OK.
void pelmora_message_box(const char16_t* prompt, std::size_t promptLength, int icon,
                         const char16_t* title, std::size_t titleLength) noexcept;
void pelmora_announce(const char16_t* text, std::size_t length) noexcept;
void pelmora_after_turn() noexcept; // a TurnOver event once the page's turn is over
// From now on no event comes: the clocks stop and the page takes no more actions.
void pelmora_end(int code) noexcept;
}
