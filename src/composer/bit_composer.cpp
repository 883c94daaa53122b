// The bit composer: the second row's boxes build a value shown in binary and hex.
#include <array>

#include "app/main_window.h"
#include "toolkit/convert.h"

namespace pelmora {

void Main::BitSetCheck_Click(std::int16_t Index) {
    bool leading = false; // true once the first significant digit is written
    // Each append reads the control's current text and writes the longer text back; one
    // buffer serves them all.
    Text grown;
    const auto appendCaption = [&grown](Label& label, TextView digit) {
        grown.assign(label.caption());
        grown += digit;
        label.setCaption(grown);
    };
    const auto appendText = [&grown](TextBox& box, TextView digit) {
        grown.assign(box.text());
        grown += digit;
        box.setText(grown);
    };

    LblBitSetBinary.setCaption(Text());
    TxtBitSetBinary.setText(u"0");

    const std::int16_t v = BitSetCheck(Index).value();
    data_.BitSetArray(Index) = v;
    Label& cell = LblBitSetInfo(Index);
    cell.setCaption(decimalText(v));
    cell.setBackColour(v == 1 ? colours::Red : colours::Silver);

    for (int b = 31; b >= 0; --b) {
        if (data_.BitSetArray(b) == 1 && !leading) {
            leading = true;
            TxtBitSetBinary.setText(Text());
        }
        if (leading) {
            const Text digit = decimalText(data_.BitSetArray(b));
            appendCaption(LblBitSetBinary, digit);
            appendText(TxtBitSetBinary, digit);
        }
    }

    std::array<std::int16_t, 8> nibble{};
    for (std::int16_t k = 0; k <= 7; ++k) {
        const std::int16_t base = checkedMul(4, k);
        std::int16_t sum = data_.BitSetArray(base);
        sum = checkedAdd(sum, checkedMul(2, data_.BitSetArray(checkedAdd(base, 1))));
        sum = checkedAdd(sum, checkedMul(4, data_.BitSetArray(checkedAdd(base, 2))));
        sum = checkedAdd(sum, checkedMul(8, data_.BitSetArray(checkedAdd(base, 3))));
        nibble[static_cast<std::size_t>(k)] = sum;
        LblBitSetHex(k).setCaption(hexText(static_cast<std::uint16_t>(sum)));
    }

    leading = false;
    TxtBitSetHex.setText(u"0");
    for (int k = 7; k >= 0; --k) {
        const std::int16_t value = nibble[static_cast<std::size_t>(k)];
        if (value != 0 && !leading) {
            leading = true;
            TxtBitSetHex.setText(Text());
        }
        if (leading) appendText(TxtBitSetHex, hexText(static_cast<std::uint16_t>(value)));
    }
}

void Main::CmdClrSet_Click() {
    for (int i = 0; i <= 31; ++i) BitSetCheck(i).setValue(0);
}

} // namespace pelmora
