#include <numbers>

#include "artwork.h"
#include "palette.h"

namespace skinart {
namespace {

// The folder field: a white box with a small folder glyph where the text inset begins.
bool FolderField(const Path& res) {
    constexpr int kW = 380, kH = 36;
    Canvas c(kW, kH);
    cairo_t* cr = c.cr();
    FillRoundRect(cr, 0, 0, kW, kH, 4, kWhite);
    StrokeRoundRect(cr, 0, 0, kW, kH, 4, kBorder);
    const Rgba glyph = Hex(0xA3AEC0);
    FillRoundRect(cr, 12, 11, 7, 4, 1.2, glyph);
    FillRoundRect(cr, 12, 13, 16, 12, 2, glyph);
    return c.Save(res / "mainWnd/installDirEdit.png");
}

bool CheckBoxes(const Path& res) {
    Canvas off(16, 16);
    FillRoundRect(off.cr(), 0, 0, 16, 16, 3, kWhite);
    StrokeRoundRect(off.cr(), 0, 0, 16, 16, 3, Hex(0xB4BFCE));
    Canvas on(16, 16);
    FillRoundRect(on.cr(), 0, 0, 16, 16, 3, kBlue);
    Tick(on.cr(), 8, 8, 10, kWhite, 1.9);
    return off.Save(res / "mainWnd/Cb1.png") && on.Save(res / "mainWnd/Cb2.png");
}

bool ProgressBar(const Path& res) {
    constexpr int kW = 440, kH = 8;
    Canvas track(kW, kH);
    FillRoundRect(track.cr(), 0, 0, kW, kH, kH / 2.0, Hex(0xE3EAF4));
    Canvas fill(kW, kH);
    cairo_t* cr = fill.cr();
    RoundRectPath(cr, 0, 0, kW, kH, kH / 2.0);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, kW, 0);
    cairo_pattern_add_color_stop_rgb(p, 0, 0x5C / 255.0, 0xA8 / 255.0, 1.0);
    cairo_pattern_add_color_stop_rgb(p, 1, kBlue.r, kBlue.g, kBlue.b);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    return track.Save(res / "mainWnd/installPrg1.png") && fill.Save(res / "mainWnd/installPrg2.png");
}

// A warm bubble pointing down at the agreement row: one outline around body and tail.
bool TipBubble(const Path& res) {
    constexpr int kW = 230, kH = 34, kTail = 6;
    constexpr double kR = 4, kHalf = std::numbers::pi / 2;
    const double x0 = 0.5, y0 = 0.5, x1 = kW - 0.5, y1 = kH - kTail - 0.5, cx = kW / 2.0;
    Canvas c(kW, kH);
    cairo_t* cr = c.cr();
    cairo_move_to(cr, x0 + kR, y0);
    cairo_arc(cr, x1 - kR, y0 + kR, kR, -kHalf, 0);
    cairo_arc(cr, x1 - kR, y1 - kR, kR, 0, kHalf);
    cairo_line_to(cr, cx + 6, y1);
    cairo_line_to(cr, cx, kH - 0.5);
    cairo_line_to(cr, cx - 6, y1);
    cairo_arc(cr, x0 + kR, y1 - kR, kR, kHalf, 2 * kHalf);
    cairo_arc(cr, x0 + kR, y0 + kR, kR, 2 * kHalf, 3 * kHalf);
    cairo_close_path(cr);
    SetColor(cr, Hex(0xFFF6E8));
    cairo_fill_preserve(cr);
    SetColor(cr, Hex(0xFFC46B));
    cairo_set_line_width(cr, 1);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
    return c.Save(res / "mainWnd/tipLbl.png");
}

}  // namespace

bool DrawFormControls(const Path& res) {
    return FolderField(res) && CheckBoxes(res) && ProgressBar(res) && TipBubble(res);
}

}  // namespace skinart
