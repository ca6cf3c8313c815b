#include <string>

#include "artwork.h"
#include "palette.h"

namespace skinart {
namespace {

struct Filled {
    Rgba top, bottom;
};

// Normal, hot, pushed: the hot state lightens, the pushed state darkens.
constexpr Filled kPrimary[] = {
    {Hex(0x3389FF), Hex(0x1675FE)},
    {Hex(0x559DFF), Hex(0x3586FF)},
    {Hex(0x1268E8), Hex(0x0E5BD0)},
};

std::string Numbered(const char* stem, int state) { return stem + std::to_string(state) + ".png"; }

// The large call-to-action buttons; the caption is the layout's text.
bool Primary(const Path& res, const char* stem, int width, int height) {
    for (int state = 0; state < 3; ++state) {
        Canvas c(width, height);
        cairo_t* cr = c.cr();
        RoundRectPath(cr, 0, 0, width, height, 6);
        FillVertical(cr, 0, kPrimary[state].top, height, kPrimary[state].bottom);
        // A faint top highlight keeps the flat face from looking printed on.
        StrokeLine(cr, 6, 1.5, width - 6, 1.5, Hex(0xFFFFFF, state == 2 ? 0.08 : 0.22), 1);
        if (!c.Save(res / "mainWnd" / Numbered(stem, state + 1))) return false;
    }
    return true;
}

// The "custom install" link: bare with a grey chevron, then a pale pill on hover.
bool CustomLink(const Path& res) {
    constexpr int kW = 110, kH = 30;
    for (int state = 0; state < 2; ++state) {
        Canvas c(kW, kH);
        cairo_t* cr = c.cr();
        if (state == 1) FillRoundRect(cr, 0, 0, kW, kH, kH / 2.0, kBlueTint);
        Chevron(cr, kW - 15, kH / 2.0, 4, 1, state == 1 ? kBlue : kGlyph, 1.6);
        if (!c.Save(res / "mainWnd" / Numbered("customeBtn", state + 1))) return false;
    }
    return true;
}

// The outlined "browse" button beside the folder field.
bool Browse(const Path& res) {
    constexpr int kW = 90, kH = 36;
    const Rgba fill[] = {kWhite, kBlueTint, kBlueTintDeep};
    const Rgba edge[] = {kBlue, kBlueHot, kBluePushed};
    for (int state = 0; state < 3; ++state) {
        Canvas c(kW, kH);
        FillRoundRect(c.cr(), 0, 0, kW, kH, 4, fill[state]);
        StrokeRoundRect(c.cr(), 0, 0, kW, kH, 4, edge[state]);
        if (!c.Save(res / "mainWnd" / Numbered("chDirBtn", state + 1))) return false;
    }
    return true;
}

// A left chevron placed by the layout before the "back" caption.
bool Back(const Path& res) {
    const Rgba ink[] = {kGlyphDark, kBlue, kBluePushed};
    for (int state = 0; state < 3; ++state) {
        Canvas c(16, 16);
        Chevron(c.cr(), 8, 8, 5, -1, ink[state], 1.8);
        if (!c.Save(res / "mainWnd" / Numbered("backBtn", state + 1))) return false;
    }
    return true;
}

}  // namespace

bool DrawButtons(const Path& res) {
    return Primary(res, "installBtn", 220, 48) && Primary(res, "experienceBtn", 220, 48) && CustomLink(res) &&
           Browse(res) && Back(res);
}

}  // namespace skinart
