#pragma once

#include "canvas.h"

// One light palette for every window: a single brand blue with tints of it,
// neutral greys for text-like glyphs and borders, and two signal colours.
namespace skinart {

inline constexpr Rgba kBlue = Hex(0x1675FE);
inline constexpr Rgba kBlueHot = Hex(0x3D8BFF);
inline constexpr Rgba kBluePushed = Hex(0x0E63E0);
inline constexpr Rgba kBlueTint = Hex(0xEAF2FF);
inline constexpr Rgba kBlueTintDeep = Hex(0xD6E6FF);
inline constexpr Rgba kGlyph = Hex(0x8A94A6);
inline constexpr Rgba kGlyphDark = Hex(0x4A5568);
inline constexpr Rgba kBorder = Hex(0xD3DAE5);
inline constexpr Rgba kWhite = Hex(0xFFFFFF);
inline constexpr Rgba kGreen = Hex(0x22B07D);
inline constexpr Rgba kOrange = Hex(0xFF9F1A);
inline constexpr Rgba kRed = Hex(0xF25757);

}  // namespace skinart
