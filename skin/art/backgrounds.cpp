#include <cmath>
#include <numbers>
#include <string>

#include "artwork.h"
#include "palette.h"

namespace skinart {
namespace {

constexpr int kWidth = 600;
constexpr int kHeight = 400;
// Matches the window's rounded region, so the outline follows the visible edge.
constexpr double kCorner = 4;

Rgba Tint(double alpha) { return Rgba{kBlue.r, kBlue.g, kBlue.b, alpha}; }

// A pale blue sky fading to white, shared by every page.
void Base(cairo_t* cr) {
    cairo_rectangle(cr, 0, 0, kWidth, kHeight);
    SetColor(cr, kWhite);
    cairo_fill(cr);
    cairo_rectangle(cr, 0, 0, kWidth, 280);
    FillVertical(cr, 0, Hex(0xE9F2FF), 280, Hex(0xFFFFFF, 0));
}

void Wave(cairo_t* cr, double base, double amplitude, double phase, Rgba c) {
    cairo_move_to(cr, 0, kHeight);
    for (int x = 0; x <= kWidth; x += 4) {
        const double y = base + amplitude * std::sin(phase + x * 2 * std::numbers::pi / kWidth);
        cairo_line_to(cr, x, y);
    }
    cairo_line_to(cr, kWidth, kHeight);
    cairo_close_path(cr);
    SetColor(cr, c);
    cairo_fill(cr);
}

void Ring(cairo_t* cr, double cx, double cy, double radius, Rgba c, double width) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx, cy, radius, 0, 2 * std::numbers::pi);
    SetColor(cr, c);
    cairo_set_line_width(cr, width);
    cairo_stroke(cr);
}

void Dots(cairo_t* cr, double x0, double y0, int columns, int rows) {
    for (int row = 0; row < rows; ++row) {
        for (int col = 0; col < columns; ++col) FillCircle(cr, x0 + col * 12, y0 + row * 12, 1.6, Tint(0.18));
    }
}

void Glow(cairo_t* cr, double cx, double cy, double radius) {
    cairo_pattern_t* p = cairo_pattern_create_radial(cx, cy, 0, cx, cy, radius);
    cairo_pattern_add_color_stop_rgba(p, 0, kBlue.r, kBlue.g, kBlue.b, 0.10);
    cairo_pattern_add_color_stop_rgba(p, 1, kBlue.r, kBlue.g, kBlue.b, 0);
    cairo_set_source(cr, p);
    cairo_arc(cr, cx, cy, radius, 0, 2 * std::numbers::pi);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

void Outline(cairo_t* cr) { StrokeRoundRect(cr, 0, 0, kWidth, kHeight, kCorner, Hex(0xC9D3E1)); }

// Scattered flakes in the brand colours around the finished page's badge.
void Confetti(cairo_t* cr) {
    struct Flake {
        double x, y, angle;
        std::uint32_t rgb;
    };
    constexpr Flake kFlakes[] = {
        {196, 92, 0.5, 0x1675FE},  {226, 170, -0.3, 0xFFB020}, {178, 138, 1.1, 0x22B07D},
        {404, 96, -0.7, 0xFFB020}, {378, 168, 0.4, 0x1675FE},  {424, 140, -1.2, 0xF25757},
        {250, 70, 0.9, 0xF25757},  {352, 66, -0.2, 0x22B07D},  {150, 104, 0.2, 0x3D8BFF},
        {452, 112, 0.8, 0x3D8BFF},
    };
    for (const Flake& f : kFlakes) {
        cairo_save(cr);
        cairo_translate(cr, f.x, f.y);
        cairo_rotate(cr, f.angle);
        FillRoundRect(cr, -4, -1.8, 8, 3.6, 1.6, Hex(f.rgb, 0.55));
        cairo_restore(cr);
    }
}

// Draws page `page`'s background: the shared sky, the page's own decoration and the outline.
template <typename Decorate>
bool Page(const Path& res, int page, Decorate decorate) {
    Canvas c(kWidth, kHeight);
    Base(c.cr());
    decorate(c.cr());
    Outline(c.cr());
    return c.Save(res / "mainWnd" / ("bg" + std::to_string(page) + ".png"));
}

}  // namespace

bool DrawBackgrounds(const Path& res) {
    const bool welcome = Page(res, 1, [](cairo_t* cr) {
        FillCircle(cr, 585, 15, 150, Tint(0.06));
        FillCircle(cr, 610, -10, 95, Tint(0.05));
        Ring(cr, 72, 96, 18, Tint(0.14), 2);
        Dots(cr, 490, 300, 6, 4);
        Wave(cr, 372, 10, 0.6, Tint(0.05));
        Wave(cr, 382, 8, 2.4, Tint(0.06));
    });
    const bool custom = Page(res, 2, [](cairo_t* cr) {
        FillCircle(cr, 600, 0, 120, Tint(0.05));
        Dots(cr, 24, 330, 4, 3);
        Wave(cr, 384, 7, 1.4, Tint(0.05));
    });
    // The glow and rings are centred on the spinner of the progress page and on
    // the badge of the finished page.
    const bool progress = Page(res, 3, [](cairo_t* cr) {
        Glow(cr, 300, 131, 130);
        Ring(cr, 300, 131, 76, Tint(0.08), 1.5);
        Ring(cr, 300, 131, 104, Tint(0.05), 1.5);
        Wave(cr, 376, 9, 0.2, Tint(0.05));
        Wave(cr, 386, 6, 2.0, Tint(0.06));
    });
    const bool finished = Page(res, 4, [](cairo_t* cr) {
        Glow(cr, 300, 127, 120);
        Confetti(cr);
        Wave(cr, 376, 9, 3.6, Tint(0.05));
        Wave(cr, 386, 6, 5.0, Tint(0.06));
    });
    return welcome && custom && progress && finished;
}

}  // namespace skinart
