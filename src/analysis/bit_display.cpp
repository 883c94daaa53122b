// Bit decomposition and the analysis cells.
#include "app/main_window.h"
#include "toolkit/convert.h"

namespace pelmora {

void Main::txtDataIn_Change() {
    if (!txtDataIn.text().empty()) UpdateBitDisplay();
}

void Main::UpdateBitDisplay() {
    HexToInteger(txtDataIn.text());
    ConvertToBitArray();
    for (int i = 0; i <= 31; ++i) {
        Label& cell = LblBitInfo(i);
        cell.setCaption(decimalText(data_.BitArray(i)));
        cell.setBackColour(data_.BitArray(i) == 1 ? colours::Red : colours::LightBlue);
    }
}

void Main::ConvertToBitArray() {
    const auto split = [this](std::int32_t w, int first) {
        for (int i = first; i < first + 16; ++i) {
            data_.BitArray(i) = static_cast<std::int16_t>(w & 1);
            w /= 2;
        }
    };
    split(data_.LowWord, 0);
    split(data_.HighWord, 16);
}

} // namespace pelmora
