#include <string>

#include "artwork.h"
#include "palette.h"

namespace skinart {
namespace {

constexpr int kSize = 30;

enum class Glyph { Minimise, Close };

void DrawGlyph(cairo_t* cr, Glyph glyph, double half, Rgba ink) {
    const double c = kSize / 2.0;
    if (glyph == Glyph::Minimise) {
        StrokeLine(cr, c - half, c, c + half, c, ink, 1.6);
        return;
    }
    StrokeLine(cr, c - half, c - half, c + half, c + half, ink, 1.6);
    StrokeLine(cr, c - half, c + half, c + half, c - half, ink, 1.6);
}

// Normal: a quiet grey glyph; hot and pushed: a rounded plate behind it. The close
// button turns red so the destructive action is unmistakable.
bool TitleButton(const Path& file_stem, Glyph glyph, double half) {
    const bool close = glyph == Glyph::Close;
    const Rgba plate[] = {Hex(0, 0), close ? kRed : Hex(0xE3E9F2), close ? Hex(0xD94444) : Hex(0xD3DCE8)};
    const Rgba ink[] = {kGlyph, close ? kWhite : kGlyphDark, close ? kWhite : kGlyphDark};
    for (int state = 0; state < 3; ++state) {
        Canvas c(kSize, kSize);
        if (state > 0) FillRoundRect(c.cr(), 2, 2, kSize - 4, kSize - 4, 4, plate[state]);
        DrawGlyph(c.cr(), glyph, half, ink[state]);
        Path file = file_stem;
        file += std::to_string(state + 1) + ".png";
        if (!c.Save(file)) return false;
    }
    return true;
}

}  // namespace

bool DrawTitleButtons(const Path& res) {
    const Path common = res / "common";
    return TitleButton(common / "minbtn", Glyph::Minimise, 5.5) &&
           TitleButton(common / "closebtn", Glyph::Close, 5) &&
           TitleButton(common / "closebtnM_", Glyph::Close, 4.2);
}

}  // namespace skinart
