// "Select" and "Clear Select": the selection row set from code. The readouts follow
// because every box change runs the field readout.
#include <utility>

#include "app/main_window.h"
#include "toolkit/convert.h"

namespace pelmora {

void Main::Command3_Click() {
    for (int i = 0; i <= 31; ++i) BitCheck(i).setValue(0);
}

void Main::Command2_Click() {
    try {
        Command3_Click();
        const Text range = txtSelectRang.text();
        const std::size_t p = findCharacter(range, u',');
        std::int16_t low = 0, high = 0;
        if (p > 0) {
            low = textToInteger(leftCharacters(range, p - 1));
            high = textToInteger(charactersFrom(range, p + 1));
            if (low > high) std::swap(low, high);
        } else {
            low = textToInteger(range);
            high = low;
        }
        // A missing box ends the loop with an error long before the 16-bit index could
        // overflow, so the loop counter is the bound's own type.
        for (int i = low; i <= high; ++i) {
            BitCheck(i).setValue(0);
            BitCheck(i).setValue(1);
        }
    } catch (const RuntimeError&) {
        showError(u"输入查看位范围有错");
    }
}

} // namespace pelmora
