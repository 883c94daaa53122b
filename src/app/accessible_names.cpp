#include "app/accessible_names.h"

#include <string_view>

#include "toolkit/convert.h"

namespace pelmora {
namespace {

const Text viewRow = u"比特查看";
const Text setRow = u"比特设置";

Text bit(const Text& row, const Control& c, const Text& what) {
    return row + u" 第" + decimalText(c.index()) + u"位" + what;
}

} // namespace

Text accessibleName(const Control& c) {
    const std::string_view name = c.name();
    // The boxes and cells of both rows: row, bit number, and for a cell that it holds
    // the bit's value (its caption is the value itself).
    if (name == "BitCheck") return bit(viewRow, c, u"");
    if (name == "BitSetCheck") return bit(setRow, c, u"");
    if (name == "LblBitInfo") return bit(viewRow, c, u" 数值");
    if (name == "LblBitSetInfo") return bit(setRow, c, u" 数值");
    if (name == "lblBitIndex") return bit(viewRow, c, u" 位号");
    if (name == "lblBitSetIndex") return bit(setRow, c, u" 位号");
    // Entry boxes take the caption beside them; readouts say which section they serve.
    if (name == "txtDataIn") return u"数据输入";
    if (name == "txtSelectRang") return u"选择位范围";
    if (name == "LblBitSelected") return viewRow + u" 二进制";
    if (name == "lblBitSelectedHex") return viewRow + u" Hex";
    if (name == "TxtBitSetBinary") return setRow + u" 二进制";
    if (name == "TxtBitSetHex") return setRow + u" Hex";
    if (name == "Label3") return u"时间";
    return Text();
}

} // namespace pelmora
