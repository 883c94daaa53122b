#include "app/main_window.h"

namespace pelmora {

DesignedForm::DesignedForm() : form(mainSettings()) {
    for (const ControlSpec& row : mainDesign()) form.add(row);
}

Main::Main(Platform& platform)
    : Label1(form().array<Label>("Label1")), Label4(form().array<Label>("Label4")),
      Label5(form().array<Label>("Label5")), Line1(form().array<Line>("Line1")),
      Line2(form().array<Line>("Line2")), txtDataIn(form().array<TextBox>("txtDataIn").only()),
      txtSelectRang(form().array<TextBox>("txtSelectRang").only()),
      Command2(form().array<CommandButton>("Command2").only()),
      Command3(form().array<CommandButton>("Command3").only()),
      CmdClrSet(form().array<CommandButton>("CmdClrSet").only()),
      lblBitIndex(form().array<Label>("lblBitIndex")),
      LblBitInfo(form().array<Label>("LblBitInfo")), BitCheck(form().array<CheckBox>("BitCheck")),
      LblBitSelected(form().array<Label>("LblBitSelected").only()),
      lblBitSelectedHex(form().array<Label>("lblBitSelectedHex").only()),
      lblBitSetIndex(form().array<Label>("lblBitSetIndex")),
      LblBitSetBinary(form().array<Label>("LblBitSetBinary").only()),
      LblBitSetInfo(form().array<Label>("LblBitSetInfo")),
      LblBitSetHex(form().array<Label>("LblBitSetHex")),
      BitSetCheck(form().array<CheckBox>("BitSetCheck")),
      TxtBitSetBinary(form().array<TextBox>("TxtBitSetBinary").only()),
      TxtBitSetHex(form().array<TextBox>("TxtBitSetHex").only()),
      Label2(form().array<Label>("Label2").only()), Label3(form().array<Label>("Label3").only()),
      Timer1(form().array<Timer>("Timer1").only()), platform_(platform) {
    // Exactly the events the program handles; members created later share member 0's.
    txtDataIn.setHandler([this](std::int16_t) { txtDataIn_Change(); });
    BitCheck(0).setHandler([this](std::int16_t index) { BitCheck_Click(index); });
    Command2.setHandler([this](std::int16_t) { Command2_Click(); });
    Command3.setHandler([this](std::int16_t) { Command3_Click(); });
    BitSetCheck(0).setHandler([this](std::int16_t index) { BitSetCheck_Click(index); });
    CmdClrSet.setHandler([this](std::int16_t) { CmdClrSet_Click(); });
    Timer1.setHandler([this](std::int16_t) { Timer1_Timer(); });
    form().setActionEndHandler([this](const Control& source) { AnnounceResult(source); });
}

void Main::showError(const Text& message) {
    ++messagesInAction_;
    platform_.messageBox(message, message_box::OkOnly | message_box::Critical, u"出错");
}

} // namespace pelmora
