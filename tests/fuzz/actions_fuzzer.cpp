// Plays a random sequence of a person's actions against the window and checks, after
// each one, everything the window shows against what it must show. Each input is a
// byte string read as actions: one operation byte, then the bytes that operation needs.
// A run that ends early simply stops; every byte string is a valid sequence.
//
// Operation byte: low nibble the action, bits 4-5 the text box it types into
// (txtDataIn, txtSelectRang, TxtBitSetBinary, TxtBitSetHex), bits 6-7 its variant.

#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>

#include "expected_window.h"

namespace pelmora::fuzz {
namespace {

// The fuzzer's input read front to back; past its end every byte reads as zero.
struct Bytes {
    bool empty() const { return pos >= size; }
    std::uint8_t next() { return pos < size ? data[pos++] : 0; }

    const std::uint8_t* data;
    std::size_t size, pos = 0;
};

// One character from one byte: ASCII as itself (controls included), then direction marks
// and other invisible format characters, full-width forms, CJK, astral characters, and
// lone high and low surrogates.
Text character(std::uint8_t b) {
    static constexpr char16_t marks[16] = {0x200E, 0x200F, 0x202A, 0x202B, 0x202C, 0x202D,
                                           0x202E, 0x2066, 0x2067, 0x2068, 0x2069, 0x061C,
                                           0xFEFF, 0x00A0, 0x3000, 0x200B};
    if (b < 0x80) return Text(1, static_cast<char16_t>(b));
    if (b < 0x90) return Text(1, marks[b - 0x80]);
    if (b < 0xA0) return Text(1, static_cast<char16_t>(0xFF10 + (b - 0x90) * 3)); // ０ Ｃ Ｆ …
    if (b < 0xC0) return Text(1, static_cast<char16_t>(0x4E00 + (b - 0xA0) * 331));
    if (b < 0xE0) { // U+1F600… and U+20000…, as surrogate pairs
        const char32_t cp = b < 0xD0 ? 0x1F600 + (b - 0xC0) : 0x20000 + (b - 0xD0) * 4099;
        return {static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)),
                static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF))};
    }
    if (b < 0xF0) return Text(1, static_cast<char16_t>(0xD800 + (b - 0xE0) * 67));
    return Text(1, static_cast<char16_t>(0xDC00 + (b - 0xF0) * 67));
}

// Backspace at the end of a text box takes one character, a surrogate pair whole.
Text backspaced(Text text) {
    const std::size_t n = text.size();
    if (n > 0) text.resize(n >= 2 && isPair(text, n - 2) ? n - 2 : n - 1);
    return text;
}

// A range as a person might type it: mostly small bounds, sometimes out of range, junk,
// missing parts, blanks or a second comma.
Text rangeText(std::uint8_t form, std::uint8_t a, std::uint8_t b) {
    static constexpr int big[8] = {32767, 32768, -32768, -32769, 100000, 65535, -1, 31};
    const auto number = [](std::uint8_t x, bool large) {
        const int v = large ? big[x & 7] : x % 48 - 4;
        return fromUtf8(std::to_string(v));
    };
    Text lo = (form & 0x20) ? Text(u"x") : number(a, form & 0x08);
    const Text hi = number(b, form & 0x10);
    if (form & 0x40) lo = u"00" + lo;
    switch (form & 7) {
    case 0: return lo + u"," + hi;
    case 1: return lo;
    case 2: return lo + u",";
    case 3: return u"," + hi;
    case 4: return Text();
    case 5: return lo + u"," + hi + u",1";
    case 6: return u" " + lo + u" , " + hi + u" ";
    default: return u"+" + lo + u"," + hi;
    }
}

// One window from start-up, driven through its controls' setters and buttons as FormView
// forwards a person's actions, with its expected state beside it.
class Session {
public:
    Session() : w(platform) { w.load(); }

    void run(Bytes& in) {
        model.check(w, {});
        while (!in.empty()) {
            model.beginAction();
            platform.messages.clear();
            try {
                act(in);
            } catch (const std::exception& e) {
                fail(std::string("an error escaped the window's handlers: ") + e.what());
            }
            model.check(w, platform.messages);
        }
    }

private:
    // What a person's edit does: the text box takes the new text and the window hears of it.
    void edit(Box b, const Text& text) {
        model.edited(b, text);
        textBox(w, b).setText(text);
    }

    void select(bool byEnter) {
        const bool known = model.selectPressed();
        CommandButton* button = byEnter ? w.form().defaultButton() : &w.Command2;
        require(button == &w.Command2, "Enter does not press \"Select\"");
        button->click();
        if (!known) model.adoptSelection(w);
    }

    void act(Bytes& in) {
        const std::uint8_t op = in.next();
        const auto target = static_cast<Box>((op >> 4) & 3);
        const int variant = op >> 6;
        const Text current = textBox(w, target).text();
        switch (op & 0x0F) {
        case 1: edit(target, current + character(in.next())); break;
        case 2: { // paste at the end, or over everything; variant 2-3 repeats it to a long text
            const std::size_t n = in.next();
            Text clip;
            for (std::size_t i = 0; i < n; ++i) clip += character(in.next());
            if ((variant & 2) && !clip.empty()) {
                const std::size_t units = (std::size_t{in.next()} + 1) * 1024;
                while (clip.size() < units) clip += clip;
            }
            edit(target, (variant & 1) ? clip : current + clip);
            break;
        }
        case 3: edit(target, backspaced(current)); break;
        case 4: edit(target, Text()); break;
        case 5: {
            const std::uint8_t b = in.next();
            const bool composer = b & 0x20;
            const int i = b & 0x1F;
            model.toggled(composer, i);
            CheckBox& c = composer ? w.BitSetCheck(i) : w.BitCheck(i);
            c.setValue(c.value() == 1 ? 0 : 1);
            break;
        }
        case 6: {
            const std::uint8_t form = in.next(), a = in.next(), b = in.next();
            edit(Box::SelectRange, rangeText(form, a, b));
            select(variant & 1);
            break;
        }
        case 7: select(false); break;
        case 8: select(true); break;
        case 9:
            model.clearSelectPressed();
            w.Command3.click();
            break;
        case 10:
            model.clearSetPressed();
            w.CmdClrSet.click();
            break;
        case 11:
            platform.time = u"12:34:" + fromUtf8(std::to_string(in.next() % 60));
            model.ticked(platform.time);
            w.Timer1.tick();
            break;
        default: edit(target, current + u"0123456789ABCDEFabcdef"[in.next() % 22]); // a hex key
        }
    }

    testing::HeadlessPlatform platform;
    Main w;
    ExpectedWindow model;
};

} // namespace
} // namespace pelmora::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    pelmora::fuzz::Bytes in{data, size};
    pelmora::fuzz::Session session;
    session.run(in);
    return 0;
}
