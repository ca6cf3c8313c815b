#include "canvas.h"

#include <numbers>
#include <system_error>

namespace skinart {

Canvas::Canvas(int width, int height)
    : m_width(width),
      m_height(height),
      m_surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)),
      m_cr(cairo_create(m_surface)) {
    cairo_set_antialias(m_cr, CAIRO_ANTIALIAS_BEST);
}

Canvas::~Canvas() {
    cairo_destroy(m_cr);
    cairo_surface_destroy(m_surface);
}

bool Canvas::Save(const std::filesystem::path& file) const {
    std::error_code ec;
    std::filesystem::create_directories(file.parent_path(), ec);
    if (ec) return false;
    cairo_surface_flush(m_surface);
    return cairo_status(m_cr) == CAIRO_STATUS_SUCCESS &&
           cairo_surface_write_to_png(m_surface, file.c_str()) == CAIRO_STATUS_SUCCESS;
}

void SetColor(cairo_t* cr, Rgba c) { cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a); }

void RoundRectPath(cairo_t* cr, double x, double y, double w, double h, double r) {
    constexpr double kQuarter = std::numbers::pi / 2;
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -kQuarter, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, kQuarter);
    cairo_arc(cr, x + r, y + h - r, r, kQuarter, 2 * kQuarter);
    cairo_arc(cr, x + r, y + r, r, 2 * kQuarter, 3 * kQuarter);
    cairo_close_path(cr);
}

void FillRoundRect(cairo_t* cr, double x, double y, double w, double h, double r, Rgba c) {
    RoundRectPath(cr, x, y, w, h, r);
    SetColor(cr, c);
    cairo_fill(cr);
}

void StrokeRoundRect(cairo_t* cr, double x, double y, double w, double h, double r, Rgba c, double width) {
    const double half = width / 2;
    RoundRectPath(cr, x + half, y + half, w - width, h - width, r - half);
    SetColor(cr, c);
    cairo_set_line_width(cr, width);
    cairo_stroke(cr);
}

void FillCircle(cairo_t* cr, double cx, double cy, double radius, Rgba c) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx, cy, radius, 0, 2 * std::numbers::pi);
    SetColor(cr, c);
    cairo_fill(cr);
}

void FillVertical(cairo_t* cr, double y0, Rgba top, double y1, Rgba bottom) {
    cairo_pattern_t* p = cairo_pattern_create_linear(0, y0, 0, y1);
    cairo_pattern_add_color_stop_rgba(p, 0, top.r, top.g, top.b, top.a);
    cairo_pattern_add_color_stop_rgba(p, 1, bottom.r, bottom.g, bottom.b, bottom.a);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

void StrokeLine(cairo_t* cr, double x0, double y0, double x1, double y1, Rgba c, double width) {
    cairo_move_to(cr, x0, y0);
    cairo_line_to(cr, x1, y1);
    SetColor(cr, c);
    cairo_set_line_width(cr, width);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke(cr);
}

void Chevron(cairo_t* cr, double cx, double cy, double half, int dir, Rgba c, double width) {
    const double depth = half * 0.55 * dir;
    cairo_move_to(cr, cx - depth, cy - half);
    cairo_line_to(cr, cx + depth, cy);
    cairo_line_to(cr, cx - depth, cy + half);
    SetColor(cr, c);
    cairo_set_line_width(cr, width);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
}

void Tick(cairo_t* cr, double cx, double cy, double size, Rgba c, double width) {
    cairo_move_to(cr, cx - size * 0.42, cy + size * 0.02);
    cairo_line_to(cr, cx - size * 0.12, cy + size * 0.30);
    cairo_line_to(cr, cx + size * 0.44, cy - size * 0.28);
    SetColor(cr, c);
    cairo_set_line_width(cr, width);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
}

}  // namespace skinart
