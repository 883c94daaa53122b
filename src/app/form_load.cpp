// Start-up layout and the clock.
#include "app/main_window.h"
#include "toolkit/convert.h"

namespace pelmora {
namespace {

bool isMarkedBit(int i) { return i == 0 || i == 7 || i == 15 || i == 23 || i == 31; }

} // namespace

void Main::Form_Load() {
    // Member 0 of the analysis row stands under its box.
    lblBitIndex(0).setLeft(BitCheck(0).left());
    LblBitInfo(0).setLeft(BitCheck(0).left());

    // Members 1 to 31 of each bit row, bit 31 leftmost. Steps are 16-bit products;
    // positions are single precision.
    for (std::int16_t i = 1; i <= 31; ++i) {
        const float step = checkedMul(300, i);

        CheckBox& box = BitCheck.load(i);
        box.setVisible(true);
        box.setLeft(BitCheck(0).left() - step);

        Label& number = lblBitIndex.load(i);
        number.setCaption(decimalText(i));
        number.setVisible(true);
        number.setLeft(BitCheck(i).left());

        Label& cell = LblBitInfo.load(i);
        cell.setVisible(true);
        cell.setCaption(u"0");
        cell.setLeft(BitCheck(i).left());

        CheckBox& setBox = BitSetCheck.load(i);
        setBox.setVisible(true);
        setBox.setLeft(setBox.left() - step - 10.0f);

        Label& setNumber = lblBitSetIndex.load(i);
        setNumber.setCaption(decimalText(i));
        setNumber.setVisible(true);
        setNumber.setLeft(BitSetCheck(i).left() - 60.0f);

        Label& setCell = LblBitSetInfo.load(i);
        setCell.setVisible(true);
        setCell.setCaption(u"0");
        setCell.setLeft(BitSetCheck(i).left() - 60.0f);
    }

    for (int i = 0; i <= 31; ++i) {
        LblBitInfo(i).setBackColour(colours::LightBlue);
        LblBitSetInfo(i).setBackColour(colours::LightBlue);
        if (isMarkedBit(i)) {
            lblBitIndex(i).setForeColour(colours::DarkBlue);
            lblBitSetIndex(i).setForeColour(colours::DarkBlue);
        }
    }

    for (std::int16_t k = 1; k <= 7; ++k) {
        Label& nibble = LblBitSetHex.load(k);
        nibble.setVisible(false);
        nibble.setLeft(LblBitSetHex(0).left() - static_cast<float>(checkedMul(400, k)));
    }
}

void Main::Timer1_Timer() { Label3.setCaption(platform_.timeOfDayText()); }

} // namespace pelmora
