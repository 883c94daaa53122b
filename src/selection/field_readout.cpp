// The field readout: the lowest contiguous run of ticked selection boxes, read from the
// analysed bits.
#include "app/main_window.h"
#include "toolkit/convert.h"

namespace pelmora {

void Main::BitCheck_Click(std::int16_t /*Index*/) {
    LblBitSelected.setCaption(Text());
    double fieldValue = 0.0, placeValue = 1.0;
    bool runStarted = false;
    std::int16_t lastIndex = 0;

    const auto take = [&](int i) {
        Text digits = decimalText(data_.BitArray(i));
        digits += LblBitSelected.caption();
        LblBitSelected.setCaption(std::move(digits));
        fieldValue = data_.BitArray(i) * placeValue + fieldValue;
        placeValue *= 2.0;
    };

    for (std::int16_t i = 0; i <= 31; ++i) {
        const bool ticked = BitCheck(i).value() == 1;
        if (!runStarted) {
            if (!ticked) continue;
            runStarted = true;
            lastIndex = i;
            take(i);
        } else if (i == lastIndex + 1 && ticked) {
            lastIndex = i;
            take(i);
        } else {
            break;
        }
    }

    if (LblBitSelected.caption().empty())
        LblBitSelected.setCaption(u"0B");
    else
        LblBitSelected.setCaption(LblBitSelected.caption() + u"B");
    // A 32-bit field may reach 2^32 - 1; it is written as the unsigned value it is.
    Text hex = u"0";
    hex += hexText(static_cast<std::uint32_t>(fieldValue));
    hex += u'H';
    lblBitSelectedHex.setCaption(std::move(hex));
}

} // namespace pelmora
