#pragma once
// A font as the window design asks for it. Substituting a face that the platform lacks
// is left to the front end.

#include "toolkit/text.h"

namespace pelmora {

struct Font {
    Text face;
    float points = 8.25f;
    bool bold = false;
    bool italic = false;
    int charset = 0; // 0 Western, 134 GB2312

    bool operator==(const Font&) const = default;
};

namespace fonts {
inline const Text SansSerif = u"MS Sans Serif";
inline const Text Kai = u"楷体_GB2312";
inline constexpr int GB2312 = 134;

inline Font sans(float points, bool bold = false) {
    return Font{SansSerif, points, bold, false, 0};
}
inline Font kai(float points, bool italic = false) {
    return Font{Kai, points, false, italic, GB2312};
}
} // namespace fonts

} // namespace pelmora
