#pragma once
// Colours as the window design writes them: 0xBBGGRR, or 0x800000NN for the platform's
// system colour with index NN. Resolving a system colour is the front end's business;
// classicSystemColour() gives the classic Windows values for front ends without one.

#include <cstdint>
#include <optional>

namespace pelmora {

using Colour = std::uint32_t;

namespace colours {
inline constexpr Colour Black = 0x000000;
inline constexpr Colour Red = 0x0000FF;
inline constexpr Colour Blue = 0xFF0000;
inline constexpr Colour LightBlue = 0xFFC0C0;
inline constexpr Colour Silver = 0xC0C0C0;
inline constexpr Colour DarkBlue = 0xC00000;
inline constexpr Colour Magenta = 0xFF00FF;
inline constexpr Colour Purple = 0xC000C0;

// System colours by index.
inline constexpr Colour system(int index) { return 0x80000000u | static_cast<Colour>(index); }
inline constexpr Colour WindowBackground = system(5);
inline constexpr Colour WindowText = system(8);
inline constexpr Colour ButtonFace = system(15);
inline constexpr Colour ButtonShadow = system(16);
inline constexpr Colour ButtonText = system(18);
} // namespace colours

constexpr bool isSystemColour(Colour c) { return (c & 0xFF000000u) == 0x80000000u; }
constexpr int systemColourIndex(Colour c) { return static_cast<int>(c & 0xFFu); }

constexpr std::uint8_t redOf(Colour c) { return c & 0xFF; }
constexpr std::uint8_t greenOf(Colour c) { return (c >> 8) & 0xFF; }
constexpr std::uint8_t blueOf(Colour c) { return (c >> 16) & 0xFF; }

// The classic Windows value of system colour `index` (0xBBGGRR), if it is one.
std::optional<Colour> classicSystemColour(int index);

} // namespace pelmora
