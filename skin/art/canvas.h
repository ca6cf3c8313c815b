#pragma once

#include <cairo.h>

#include <cstdint>
#include <filesystem>

// A small cairo image surface that owns its context and writes itself as PNG.
namespace skinart {

struct Rgba {
    double r = 0, g = 0, b = 0, a = 1;
};

// 0xRRGGBB with an opacity in 0..1.
constexpr Rgba Hex(std::uint32_t rgb, double alpha = 1.0) {
    return Rgba{((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0, alpha};
}

class Canvas final {
public:
    Canvas(int width, int height);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    cairo_t* cr() const { return m_cr; }
    int width() const { return m_width; }
    int height() const { return m_height; }

    // Creates the parent folders; false when cairo or the filesystem fails.
    bool Save(const std::filesystem::path& file) const;

private:
    int m_width = 0;
    int m_height = 0;
    cairo_surface_t* m_surface = nullptr;
    cairo_t* m_cr = nullptr;
};

void SetColor(cairo_t* cr, Rgba c);
void RoundRectPath(cairo_t* cr, double x, double y, double w, double h, double r);
void FillRoundRect(cairo_t* cr, double x, double y, double w, double h, double r, Rgba c);
// A one-pixel outline that sits on the pixel grid inside the rectangle.
void StrokeRoundRect(cairo_t* cr, double x, double y, double w, double h, double r, Rgba c, double width = 1);
void FillCircle(cairo_t* cr, double cx, double cy, double radius, Rgba c);
// Vertical gradient over [y0, y1] for the current path.
void FillVertical(cairo_t* cr, double y0, Rgba top, double y1, Rgba bottom);
void StrokeLine(cairo_t* cr, double x0, double y0, double x1, double y1, Rgba c, double width);
// A chevron of the given half-height pointing left (dir -1) or right (dir +1).
void Chevron(cairo_t* cr, double cx, double cy, double half, int dir, Rgba c, double width);
// A tick mark fitted in a box of the given size centred on (cx, cy).
void Tick(cairo_t* cr, double cx, double cy, double size, Rgba c, double width);

}  // namespace skinart
