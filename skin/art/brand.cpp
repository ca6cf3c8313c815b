#include <numbers>

#include "artwork.h"
#include "palette.h"

namespace skinart {
namespace {

// A page with a folded corner and three lines of text, drawn on the 64-unit grid.
void Page(cairo_t* cr) {
    cairo_move_to(cr, 19, 13);
    cairo_line_to(cr, 33, 13);
    cairo_line_to(cr, 41, 21);
    cairo_line_to(cr, 41, 45);
    cairo_line_to(cr, 19, 45);
    cairo_close_path(cr);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_width(cr, 3);
    SetColor(cr, kWhite);
    cairo_fill_preserve(cr);
    cairo_stroke(cr);

    cairo_move_to(cr, 33, 13);
    cairo_line_to(cr, 33, 21);
    cairo_line_to(cr, 41, 21);
    cairo_close_path(cr);
    SetColor(cr, Hex(0xBFD8FF));
    cairo_fill(cr);

    const Rgba ink = Hex(0x1675FE, 0.55);
    StrokeLine(cr, 22, 27, 35, 27, ink, 2.2);
    StrokeLine(cr, 22, 32, 37, 32, ink, 2.2);
    StrokeLine(cr, 22, 37, 30, 37, ink, 2.2);
}

// Two opposed arrows on an amber badge: the translation in the mark.
void SwapBadge(cairo_t* cr) {
    FillCircle(cr, 45, 45, 12.5, kWhite);
    FillCircle(cr, 45, 45, 10.5, Hex(0xFFB020));
    const double w = 1.9;
    StrokeLine(cr, 39.5, 42, 50, 42, kWhite, w);
    StrokeLine(cr, 50, 42, 47, 39, kWhite, w);
    StrokeLine(cr, 50.5, 48, 40, 48, kWhite, w);
    StrokeLine(cr, 40, 48, 43, 51, kWhite, w);
}

bool DrawFinished(const Path& res) {
    Canvas c(88, 88);
    cairo_t* cr = c.cr();
    FillCircle(cr, 44, 44, 44, Hex(0x22B07D, 0.10));
    FillCircle(cr, 44, 44, 37, Hex(0x22B07D, 0.16));
    FillCircle(cr, 44, 44, 30, kGreen);
    Tick(cr, 44, 45, 30, kWhite, 5);
    return c.Save(res / "mainWnd/finished.png");
}

}  // namespace

void LogoMark(cairo_t* cr, double size) {
    cairo_save(cr);
    cairo_scale(cr, size / 64, size / 64);
    RoundRectPath(cr, 2, 2, 60, 60, 15);
    cairo_pattern_t* p = cairo_pattern_create_linear(2, 2, 62, 62);
    cairo_pattern_add_color_stop_rgb(p, 0, 0x4A / 255.0, 0x9A / 255.0, 1.0);
    cairo_pattern_add_color_stop_rgb(p, 1, 0x0F / 255.0, 0x5C / 255.0, 0xD6 / 255.0);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    Page(cr);
    SwapBadge(cr);
    cairo_restore(cr);
}

bool DrawBrand(const Path& res, const Path& icon) {
    Canvas logo(64, 64);
    LogoMark(logo.cr(), 64);
    Canvas big(128, 128);
    LogoMark(big.cr(), 128);
    return logo.Save(res / "mainWnd/logo.png") && big.Save(icon) && DrawFinished(res);
}

}  // namespace skinart
