// What a screen reader hears once an action is over: the result that matters to the
// person, said once however many handlers the action ran, and nothing that shows on the
// screen changes for it. An action that brought a message box has been spoken by that
// box and adds nothing.
#include "app/main_window.h"

namespace pelmora {
namespace {

// Binary text without leading zeros, "0" for zero: the value as the cells show it.
Text binaryText(std::uint32_t value) {
    Text out;
    for (int bit = 31; bit >= 0; --bit)
        if (!out.empty() || (value >> bit & 1u) || bit == 0)
            out += (value >> bit & 1u) ? u'1' : u'0';
    return out;
}

} // namespace

void Main::AnnounceResult(const Control& source) {
    const bool quiet = messagesInAction_ > 0;
    messagesInAction_ = 0;
    if (quiet) return;
    const std::string& name = source.name();
    if (&source == &txtDataIn) {
        // An emptied entry is not analysed; the cells keep the last value unsaid.
        if (txtDataIn.text().empty()) return;
        const auto value = static_cast<std::uint32_t>(data_.HighWord) << 16 |
                           static_cast<std::uint32_t>(data_.LowWord);
        platform_.announce(u"二进制 " + binaryText(value));
    } else if (name == "BitCheck" || &source == &Command2 || &source == &Command3) {
        platform_.announce(LblBitSelected.caption() + u", " + lblBitSelectedHex.caption());
    } else if (name == "BitSetCheck" || &source == &CmdClrSet) {
        platform_.announce(u"二进制 " + TxtBitSetBinary.text() + u", Hex " + TxtBitSetHex.text());
    }
}

} // namespace pelmora
