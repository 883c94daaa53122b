#pragma once
// The window Main: its controls as the design lays them out, its shared state, and the
// handlers of the eight events that reach the program. A front end creates it, raises
// its load event before showing it, and from then on forwards what the person does into
// the controls' setters; the handlers run inside those calls. It knows no toolkit.

#include <cstdint>

#include "analysis/data_def.h"
#include "app/main_design.h"
#include "toolkit/form.h"
#include "toolkit/platform.h"

namespace pelmora {

// Builds the form from the design before Main binds its named controls to it.
struct DesignedForm {
    DesignedForm();
    Form form;
};

class Main : private DesignedForm {
public:
    explicit Main(Platform& platform);
    Main(const Main&) = delete;
    Main& operator=(const Main&) = delete;

    Form& form() { return DesignedForm::form; }
    const Form& form() const { return DesignedForm::form; }
    DataDef& dataDef() { return data_; }
    const DataDef& dataDef() const { return data_; }

    // The load event; the front end raises it once, before the window is first shown.
    void load() { Form_Load(); }

    void HexToInteger(Text entry);
    void ConvertToBitArray();

    // The controls, by their design names.
    ControlArray<Label>& Label1;
    ControlArray<Label>& Label4;
    ControlArray<Label>& Label5;
    ControlArray<Line>& Line1;
    ControlArray<Line>& Line2;
    TextBox& txtDataIn;
    TextBox& txtSelectRang;
    CommandButton& Command2;
    CommandButton& Command3;
    CommandButton& CmdClrSet;
    ControlArray<Label>& lblBitIndex;
    ControlArray<Label>& LblBitInfo;
    ControlArray<CheckBox>& BitCheck;
    Label& LblBitSelected;
    Label& lblBitSelectedHex;
    ControlArray<Label>& lblBitSetIndex;
    Label& LblBitSetBinary;
    ControlArray<Label>& LblBitSetInfo;
    ControlArray<Label>& LblBitSetHex;
    ControlArray<CheckBox>& BitSetCheck;
    TextBox& TxtBitSetBinary;
    TextBox& TxtBitSetHex;
    Label& Label2;
    Label& Label3;
    Timer& Timer1;

private:
    void Form_Load();
    void Timer1_Timer();
    void txtDataIn_Change();
    void UpdateBitDisplay();
    void BitCheck_Click(std::int16_t Index);
    void Command2_Click();
    void Command3_Click();
    void BitSetCheck_Click(std::int16_t Index);
    void CmdClrSet_Click();

    void showError(const Text& message);
    void AnnounceResult(const Control& source);

    Platform& platform_;
    DataDef data_;
    int messagesInAction_ = 0; // message boxes shown since the current action began
};

} // namespace pelmora
