#include <numbers>

#include "artwork.h"
#include "palette.h"

namespace skinart {
namespace {

constexpr int kSize = 40;
constexpr double kC = kSize / 2.0;

void Question(cairo_t* cr) {
    FillCircle(cr, kC, kC, 19, kBlue);
    cairo_new_sub_path(cr);
    cairo_arc(cr, kC, 15.5, 5.5, std::numbers::pi * 1.05, std::numbers::pi * 2.35);
    cairo_line_to(cr, kC, 22.5);
    SetColor(cr, kWhite);
    cairo_set_line_width(cr, 3.2);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
    FillCircle(cr, kC, 28.5, 2.1, kWhite);
}

void Warning(cairo_t* cr) {
    FillCircle(cr, kC, kC, 19, kOrange);
    StrokeLine(cr, kC, 10.5, kC, 22.5, kWhite, 3.4);
    FillCircle(cr, kC, 28.5, 2.1, kWhite);
}

// Wi-Fi arcs on a pale disc, with an orange badge saying the link is poor.
void Network(cairo_t* cr) {
    FillCircle(cr, kC, kC, 19, kBlueTint);
    const double cy = 27;
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, 2.6);
    const double from = std::numbers::pi * 1.25, to = std::numbers::pi * 1.75;
    for (double radius : {6.0, 11.0, 16.0}) {
        cairo_new_sub_path(cr);
        cairo_arc(cr, kC, cy, radius, from, to);
        SetColor(cr, radius > 12 ? Hex(0x1675FE, 0.35) : kBlue);
        cairo_stroke(cr);
    }
    FillCircle(cr, kC, cy, 2.2, kBlue);
    FillCircle(cr, 30.5, 30.5, 7.5, kWhite);
    FillCircle(cr, 30.5, 30.5, 6, kOrange);
    StrokeLine(cr, 30.5, 27.5, 30.5, 30.8, kWhite, 1.8);
    FillCircle(cr, 30.5, 33.6, 1, kWhite);
}

bool Save(void (*draw)(cairo_t*), const Path& file) {
    Canvas c(kSize, kSize);
    draw(c.cr());
    return c.Save(file);
}

}  // namespace

bool DrawDialogIcons(const Path& res) {
    const Path dir = res / "MessageBoxWnd";
    return Save(Question, dir / "icoQuest.png") && Save(Warning, dir / "icoWarn.png") &&
           Save(Network, dir / "icoNetwork.png");
}

}  // namespace skinart
