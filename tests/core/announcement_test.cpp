// What a screen reader is given to say after each of a person's actions: the result,
// once, however many handlers the action ran; nothing after an action that brought a
// message box, and nothing for the clock.
#include <functional>
#include <ostream>

#include "window_fixture.h"

namespace pelmora::testing {
namespace {

struct Heard {
    const char* what;
    std::function<void(Main&)> act;
    std::vector<Text> said;
};
void PrintTo(const Heard& row, std::ostream* out) { *out << row.what; }

class Announcements : public Window, public ::testing::WithParamInterface<Heard> {};

// A keystroke at the end of the entry.
std::function<void(Main&)> typed(char16_t c) {
    return [c](Main& w) { w.txtDataIn.setText(w.txtDataIn.text() + c); };
}

TEST_P(Announcements, AreTheResultOncePerAction) {
    w.txtDataIn.setText(u"1F");
    platform.announced.clear();
    GetParam().act(w);
    EXPECT_EQ(platform.announced, GetParam().said);
}

const auto select = [](const char16_t* range) {
    return [range](Main& w) {
        w.txtSelectRang.setText(range);
        w.Command2.click();
    };
};

INSTANTIATE_TEST_SUITE_P(
    Actions, Announcements,
    ::testing::Values(
        Heard{"typing", typed(u'3'), {u"二进制 111110011"}},
        Heard{"zero", [](Main& w) { w.txtDataIn.setText(u"0"); }, {u"二进制 0"}},
        // Refused: the message box speaks; the entry taken back is not announced.
        Heard{"badDigit", typed(u'G'), {}},
        // The box spoke for its own action only: the next one is said again.
        Heard{"afterARefusal",
              [](Main& w) {
                  typed(u'G')(w);
                  typed(u'3')(w);
              },
              {u"二进制 111110011"}},
        Heard{"nineDigits", [](Main& w) { w.txtDataIn.setText(u"123456789"); }, {}},
        Heard{"emptied", [](Main& w) { w.txtDataIn.setText(u""); }, {}},
        Heard{"boxByPerson", [](Main& w) { w.BitCheck(0).setValue(1); }, {u"1B, 01H"}},
        Heard{"select", select(u"0,3"), {u"1111B, 0FH"}},
        Heard{"selectRefused", select(u"30,40"), {}},
        Heard{"clearSelect",
              [](Main& w) {
                  w.BitCheck(2).setValue(1);
                  w.Command3.click();
              },
              {u"1B, 01H", u"0B, 00H"}},
        Heard{
            "composer", [](Main& w) { w.BitSetCheck(5).setValue(1); }, {u"二进制 100000, Hex 20"}},
        Heard{"clearSet",
              [](Main& w) {
                  w.BitSetCheck(3).setValue(1);
                  w.BitSetCheck(9).setValue(1);
                  w.CmdClrSet.click();
              },
              {u"二进制 1000, Hex 8", u"二进制 1000001000, Hex 208", u"二进制 0, Hex 0"}},
        Heard{"clock", [](Main& w) { w.Timer1.tick(); }, {}}),
    [](const auto& info) { return std::string(info.param.what); });

} // namespace
} // namespace pelmora::testing
