#include "app/main_design.h"

#include "pelmora_version.h"

namespace pelmora {
namespace {

using enum ControlKind;
using colours::system;
constexpr Alignment Centre = Alignment::Centre;

// The table is aligned by hand, one row a control, as the form's designer lists them.
// clang-format off

// Shadow line and window-coloured line 30 twips below it make an etched groove.
ControlSpec groove(const char* name, int index, int x1, int x2, int y, Colour colour) {
    return {.kind = Line, .name = name, .index = index, .left = static_cast<float>(x1),
            .top = y, .x2 = x2, .y2 = y, .fore = colour, .lineWidth = 2};
}

std::vector<ControlSpec> design() {
    using fonts::kai;
    using fonts::sans;
    const Colour shadow = colours::ButtonShadow, window = colours::WindowBackground;
    return {
        // Headings and their grooves.
        groove("Line1", 3, 0, 4000, 240, shadow),
        groove("Line2", 3, 0, 4000, 270, window),
        groove("Line1", 2, 6000, 10000, 240, shadow),
        groove("Line2", 2, 6000, 10000, 270, window),
        {.kind = Label, .name = "Label5", .index = 1, .left = 4320, .top = 120, .width = 1335,
         .height = 375, .caption = u"比特查看", .fore = colours::Blue, .font = kai(15.75f),
         .tabIndex = 23},
        groove("Line1", 0, 0, 4000, 2760, shadow),
        groove("Line2", 0, 0, 4000, 2790, window),
        groove("Line1", 1, 6000, 10000, 2760, shadow),
        groove("Line2", 1, 6000, 10000, 2790, window),
        {.kind = Label, .name = "Label5", .index = 0, .left = 4320, .top = 2640, .width = 1335,
         .height = 375, .caption = u"比特设置", .fore = colours::Red, .font = kai(15.75f, true),
         .tabIndex = 22},

        // Command row.
        {.kind = Label, .name = "Label1", .index = 1, .left = 117, .top = 598, .width = 858,
         .height = 234, .caption = u"数据输入", .font = sans(8.25f), .tabIndex = 10},
        {.kind = TextBox, .name = "txtDataIn", .left = 960, .top = 600, .width = 2295,
         .height = 330, .font = sans(12), .alignment = Centre, .tabIndex = 0},
        {.kind = Label, .name = "Label1", .index = 0, .left = 3510, .top = 585, .width = 975,
         .height = 260, .caption = u"选择位范围", .font = sans(8.25f), .tabIndex = 9},
        {.kind = TextBox, .name = "txtSelectRang", .left = 4680, .top = 600, .width = 1095,
         .height = 375, .font = sans(12), .alignment = Centre, .tabIndex = 6},
        {.kind = CommandButton, .name = "Command2", .left = 5967, .top = 600, .width = 1222,
         .height = 375, .caption = u"Select", .font = sans(8.25f), .tabIndex = 1,
         .isDefault = true},
        {.kind = CommandButton, .name = "Command3", .left = 7371, .top = 585, .width = 1105,
         .height = 375, .caption = u"Clear Select", .font = sans(8.25f), .tabIndex = 8},
        {.kind = CommandButton, .name = "CmdClrSet", .left = 8658, .top = 585, .width = 1066,
         .height = 364, .caption = u"Clear Set", .font = sans(8.25f), .tabIndex = 26},

        // Analysis block.
        {.kind = Label, .name = "lblBitIndex", .index = 0, .left = 9480, .top = 1080,
         .width = 255, .height = 255, .caption = u"0", .fore = colours::Purple,
         .font = sans(9.75f), .alignment = Centre, .tabIndex = 3},
        {.kind = Label, .name = "LblBitInfo", .index = 0, .left = 9435, .top = 1320,
         .width = 255, .height = 255, .caption = u"0", .back = colours::Blue,
         .font = sans(12, true), .alignment = Centre, .tabIndex = 4},
        {.kind = CheckBox, .name = "BitCheck", .index = 0, .left = 9480, .top = 1680,
         .width = 255, .height = 255, .font = sans(8.25f), .tabIndex = 2},
        {.kind = Label, .name = "Label4", .index = 1, .left = 0, .top = 2040, .width = 615,
         .height = 375, .caption = u"二进制", .font = sans(8.25f), .tabIndex = 19},
        {.kind = Label, .name = "LblBitSelected", .left = 600, .top = 2040, .width = 5295,
         .height = 375, .caption = u"0B", .font = sans(12, true), .alignment = Centre,
         .border = true, .tabIndex = 5},
        {.kind = Label, .name = "Label4", .index = 2, .left = 6000, .top = 2040, .width = 615,
         .height = 375, .caption = u"Hex", .font = sans(12, true), .tabIndex = 20},
        {.kind = Label, .name = "lblBitSelectedHex", .left = 6600, .top = 2040, .width = 3135,
         .height = 375, .caption = u"0H", .font = sans(12, true), .border = true,
         .tabIndex = 7},

        // Composer block.
        {.kind = Label, .name = "lblBitSetIndex", .index = 0, .left = 9420, .top = 3120,
         .width = 255, .height = 255, .caption = u"0", .fore = colours::Magenta,
         .font = sans(9.75f), .alignment = Centre, .tabIndex = 15},
        {.kind = Label, .name = "LblBitSetBinary", .left = 585, .top = 3159, .width = 5174,
         .height = 377, .caption = u"0", .font = sans(12, true), .alignment = Centre,
         .border = true, .visible = false, .tabIndex = 16},
        {.kind = Label, .name = "LblBitSetInfo", .index = 0, .left = 9420, .top = 3375,
         .width = 255, .height = 255, .caption = u"0", .back = colours::Blue,
         .font = sans(12, true), .alignment = Centre, .tabIndex = 14},
        {.kind = Label, .name = "LblBitSetHex", .index = 0, .left = 8307, .top = 3510,
         .width = 377, .height = 377, .caption = u"0", .font = sans(12, true),
         .alignment = Centre, .border = true, .visible = false, .tabIndex = 17},
        {.kind = CheckBox, .name = "BitSetCheck", .index = 0, .left = 9480, .top = 3720,
         .width = 195, .height = 195, .fore = colours::Black, .font = sans(8.25f),
         .tabIndex = 13},
        {.kind = Label, .name = "Label4", .index = 0, .left = 0, .top = 4200, .width = 615,
         .height = 375, .caption = u"二进制", .font = sans(8.25f), .tabIndex = 18},
        {.kind = TextBox, .name = "TxtBitSetBinary", .left = 702, .top = 4160, .width = 5161,
         .height = 416, .caption = u"0", .font = sans(12, true), .tabIndex = 24},
        {.kind = Label, .name = "Label4", .index = 3, .left = 6000, .top = 4200, .width = 495,
         .height = 375, .caption = u"Hex", .font = sans(12, true), .tabIndex = 21},
        {.kind = TextBox, .name = "TxtBitSetHex", .left = 6669, .top = 4147, .width = 3055,
         .height = 429, .caption = u"0", .font = sans(12, true), .tabIndex = 25},

        // Status row and timer.
        {.kind = Label, .name = "Label2", .left = 0, .top = 4800, .width = 5775, .height = 300,
         .caption = u"Pelmora " PELMORA_VERSION_SHORT u"  比特查看与设置  作者：Pelmora 开发组",
         .fore = colours::Red, .font = sans(8.25f), .alignment = Centre, .border = true,
         .tabIndex = 11},
        {.kind = Label, .name = "Label3", .left = 5805, .top = 4800, .width = 4095,
         .height = 300, .caption = u"Label3", .font = sans(8.25f), .alignment = Centre,
         .border = true, .tabIndex = 12},
        {.kind = Timer, .name = "Timer1", .visible = false, .interval = 500},
    };
}

} // namespace

FormSettings mainSettings() {
    return {.caption = u"Pelmoria", .clientWidth = 9930, .clientHeight = 5115,
            .font = fonts::kai(8.25f), .fore = colours::Black};
}

// clang-format on

const std::vector<ControlSpec>& mainDesign() {
    static const std::vector<ControlSpec> rows = design();
    return rows;
}

} // namespace pelmora
