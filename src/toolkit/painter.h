#pragma once

#include <cairo.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "toolkit/geometry.h"
#include "toolkit/image_desc.h"
#include "toolkit/text_style.h"

namespace toolkit {

struct FontInfo {
    std::wstring name = L"微软雅黑";
    int size = 12;  // pixels
    bool bold = false;
    bool underline = false;
    bool italic = false;
};


// Thin drawing layer over one cairo context. Colours are 0xAARRGGBB; a colour
// with zero alpha draws nothing.
class Painter final {
public:
    explicit Painter(cairo_t* cr) : m_cr(cr) {}

    cairo_t* Context() const { return m_cr; }
    void FillRect(const Rect& rc, uint32_t argb);
    void FillRoundRect(const Rect& rc, int rx, int ry, uint32_t argb);
    void DrawBorder(const Rect& rc, int size, uint32_t argb, int rx, int ry);
    // Draws a decoded picture inside the control rectangle as the description
    // asks (dest, source, nine-patch corners, hole, tiling, fade).
    void DrawImage(cairo_surface_t* image, const Rect& control, const ImageDesc& desc);
    void DrawText(const Rect& rc, std::wstring_view text, const FontInfo& font, uint32_t argb, unsigned style);

    void PushClip(const Rect& rc);
    void PushRoundClip(const Rect& rc, int rx, int ry);
    void PopClip();

    // Width and height of a text in a font; multi-line texts wrap at maxWidth
    // when it is positive.
    static Size MeasureText(std::wstring_view text, const FontInfo& font, unsigned style, int maxWidth = 0);

    static void AddRoundRectPath(cairo_t* cr, const Rect& rc, int rx, int ry);

private:
    void SetColour(uint32_t argb);
    void DrawPart(cairo_surface_t* image, const Rect& src, const Rect& dst, const ImageDesc& desc);
    cairo_t* m_cr;
};

}  // namespace toolkit
