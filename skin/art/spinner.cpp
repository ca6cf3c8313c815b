#include <cmath>
#include <cstdio>
#include <numbers>

#include "artwork.h"
#include "palette.h"

namespace skinart {
namespace {

constexpr int kFrames = 49;
constexpr int kSize = 96;
constexpr double kRadius = 40;
constexpr double kRing = 5;

// A blue arc whose tail fades out, its head at `head` radians, over a pale track;
// the product mark sits still in the middle while the arc turns around it.
void Frame(cairo_t* cr, double head) {
    const double c = kSize / 2.0;
    cairo_new_sub_path(cr);
    cairo_arc(cr, c, c, kRadius, 0, 2 * std::numbers::pi);
    SetColor(cr, Hex(0xE6EEFA));
    cairo_set_line_width(cr, kRing);
    cairo_stroke(cr);

    constexpr int kSteps = 48;
    constexpr double kTail = 2 * std::numbers::pi / 3;
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    for (int i = 0; i < kSteps; ++i) {
        const double from = head - kTail + kTail * i / kSteps;
        const double to = head - kTail + kTail * (i + 1) / kSteps + 0.01;
        const double t = double(i + 1) / kSteps;
        cairo_new_sub_path(cr);
        cairo_arc(cr, c, c, kRadius, from, to);
        SetColor(cr, Rgba{kBlue.r, kBlue.g, kBlue.b, t * t});
        cairo_stroke(cr);
    }
    FillCircle(cr, c + kRadius * std::cos(head), c + kRadius * std::sin(head), kRing / 2, kBlue);

    cairo_save(cr);
    cairo_translate(cr, c - 24, c - 24);
    LogoMark(cr, 48);
    cairo_restore(cr);
}

}  // namespace

bool DrawSpinner(const Path& res) {
    for (int i = 0; i < kFrames; ++i) {
        Canvas canvas(kSize, kSize);
        Frame(canvas.cr(), -std::numbers::pi / 2 + 2 * std::numbers::pi * i / kFrames);
        char name[16];
        std::snprintf(name, sizeof name, "%03d.png", i);
        if (!canvas.Save(res / "mainWnd/installBtnAnimate" / name)) return false;
    }
    return true;
}

}  // namespace skinart
