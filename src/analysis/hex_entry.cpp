// Hex entry parsing: the entry's text to the two 16-bit halves.
#include "app/main_window.h"
#include "toolkit/convert.h"

namespace pelmora {

void Main::HexToInteger(Text entry) {
    // Checked before anything else, and without counting past nine characters, so a
    // pasted megabyte costs no more than a short entry.
    if (hasMoreCharactersThan(entry, 8)) {
        showError(u"不处理超过32bit的数据");
        return;
    }

    bool parsed = true;
    try {
        const std::size_t n = characterCount(entry);
        if (n <= 4) {
            const std::int32_t low = hexPrefixedToLong(u"&H" + entry);
            data_.LowWord = low;
            data_.HighWord = 0;
        } else {
            const std::int32_t high = hexPrefixedToLong(u"&H" + leftCharacters(entry, n - 4));
            const std::int32_t low = hexPrefixedToLong(u"&H" + charactersFrom(entry, n - 3));
            data_.HighWord = high; // both halves only once both converted
            data_.LowWord = low;
        }
    } catch (const RuntimeError&) {
        parsed = false;
    }
    if (parsed) return;

    // Take the last keystroke back. Setting the text runs the change handler, and with
    // it the whole analysis of the shorter text, before this call returns.
    showError(u"请正确输入16进制数");
    txtDataIn.setText(withoutLastCharacter(txtDataIn.text()));
}

} // namespace pelmora
