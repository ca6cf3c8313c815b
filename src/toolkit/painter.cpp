#include "toolkit/painter.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <memory>

#include "toolkit/text.h"

namespace toolkit {
namespace {

struct LayoutDeleter {
    void operator()(PangoLayout* l) const { g_object_unref(l); }
};
struct FontDescDeleter {
    void operator()(PangoFontDescription* d) const { pango_font_description_free(d); }
};

// The layouts name a Windows font; the CJK font we ship with stands in for it
// so that both scripts render with one consistent face.
std::string FamilyList(const std::wstring& name)
{
    std::string family = ToUtf8(name);
    if (family.empty()) family = "微软雅黑";
    return family + ",WenQuanYi Micro Hei,Noto Sans CJK SC,sans-serif";
}

std::string PrepareText(std::wstring_view text, unsigned style)
{
    std::wstring t;
    t.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') continue;
        wchar_t c = text[i] == L'\r' ? L'\n' : text[i];
        if (c == L'\n' && (style & kTextSingleLine)) c = L' ';
        t += c;
    }
    return ToUtf8(t);
}

std::unique_ptr<PangoLayout, LayoutDeleter> MakeLayout(cairo_t* cr, std::wstring_view text, const FontInfo& font,
                                                       unsigned style, int width)
{
    std::unique_ptr<PangoLayout, LayoutDeleter> layout(pango_cairo_create_layout(cr));
    std::unique_ptr<PangoFontDescription, FontDescDeleter> desc(pango_font_description_new());
    pango_font_description_set_family(desc.get(), FamilyList(font.name).c_str());
    pango_font_description_set_absolute_size(desc.get(), std::max(1, font.size) * PANGO_SCALE);
    pango_font_description_set_weight(desc.get(), font.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_style(desc.get(), font.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    pango_layout_set_font_description(layout.get(), desc.get());
    std::string utf8 = PrepareText(text, style);
    pango_layout_set_text(layout.get(), utf8.c_str(), static_cast<int>(utf8.size()));
    if (font.underline) {
        PangoAttrList* attrs = pango_attr_list_new();
        pango_attr_list_insert(attrs, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
        pango_layout_set_attributes(layout.get(), attrs);
        pango_attr_list_unref(attrs);
    }
    if (style & kTextSingleLine) pango_layout_set_single_paragraph_mode(layout.get(), TRUE);
    if (width > 0) {
        pango_layout_set_width(layout.get(), width * PANGO_SCALE);
        // Without word breaking a width would still make Pango wrap; an
        // ellipsis keeps such a text on its line instead.
        if (style & kTextWordBreak)
            pango_layout_set_wrap(layout.get(), PANGO_WRAP_WORD_CHAR);
        else
            pango_layout_set_ellipsize(layout.get(), PANGO_ELLIPSIZE_END);
    }
    PangoAlignment align = (style & kTextCenter) ? PANGO_ALIGN_CENTER
                           : (style & kTextRight) ? PANGO_ALIGN_RIGHT
                                                  : PANGO_ALIGN_LEFT;
    pango_layout_set_alignment(layout.get(), align);
    return layout;
}

cairo_t* MeasuringContext()
{
    // One tiny surface per thread: measuring needs font metrics, not pixels.
    thread_local struct Holder {
        cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
        cairo_t* cr = cairo_create(surface);
        ~Holder()
        {
            cairo_destroy(cr);
            cairo_surface_destroy(surface);
        }
    } holder;
    return holder.cr;
}

}  // namespace

void Painter::SetColour(uint32_t argb)
{
    cairo_set_source_rgba(m_cr, ((argb >> 16) & 0xFF) / 255.0, ((argb >> 8) & 0xFF) / 255.0, (argb & 0xFF) / 255.0,
                          (argb >> 24) / 255.0);
}

void Painter::AddRoundRectPath(cairo_t* cr, const Rect& rc, int rx, int ry)
{
    double w = rc.Width(), h = rc.Height();
    double ax = std::min(rx / 2.0, w / 2.0), ay = std::min(ry / 2.0, h / 2.0);
    if (ax <= 0 || ay <= 0) {
        cairo_rectangle(cr, rc.left, rc.top, w, h);
        return;
    }
    cairo_new_sub_path(cr);
    auto corner = [&](double cx, double cy, double from, double to) {
        cairo_save(cr);
        cairo_translate(cr, cx, cy);
        cairo_scale(cr, ax, ay);
        cairo_arc(cr, 0, 0, 1, from, to);
        cairo_restore(cr);
    };
    const double pi = 3.14159265358979323846;
    corner(rc.right - ax, rc.top + ay, -pi / 2, 0);
    corner(rc.right - ax, rc.bottom - ay, 0, pi / 2);
    corner(rc.left + ax, rc.bottom - ay, pi / 2, pi);
    corner(rc.left + ax, rc.top + ay, pi, 3 * pi / 2);
    cairo_close_path(cr);
}

void Painter::FillRect(const Rect& rc, uint32_t argb)
{
    if ((argb >> 24) == 0 || rc.Empty()) return;
    SetColour(argb);
    cairo_rectangle(m_cr, rc.left, rc.top, rc.Width(), rc.Height());
    cairo_fill(m_cr);
}

void Painter::FillRoundRect(const Rect& rc, int rx, int ry, uint32_t argb)
{
    if ((argb >> 24) == 0 || rc.Empty()) return;
    SetColour(argb);
    AddRoundRectPath(m_cr, rc, rx, ry);
    cairo_fill(m_cr);
}

void Painter::DrawBorder(const Rect& rc, int size, uint32_t argb, int rx, int ry)
{
    if (size <= 0 || (argb >> 24) == 0 || rc.Empty()) return;
    SetColour(argb);
    cairo_set_line_width(m_cr, size);
    double half = size / 2.0;
    cairo_save(m_cr);
    cairo_translate(m_cr, half, half);
    AddRoundRectPath(m_cr, {rc.left, rc.top, rc.right - size, rc.bottom - size}, rx, ry);
    cairo_restore(m_cr);
    cairo_stroke(m_cr);
}

void Painter::PushClip(const Rect& rc)
{
    cairo_save(m_cr);
    cairo_rectangle(m_cr, rc.left, rc.top, rc.Width(), rc.Height());
    cairo_clip(m_cr);
}

void Painter::PushRoundClip(const Rect& rc, int rx, int ry)
{
    cairo_save(m_cr);
    AddRoundRectPath(m_cr, rc, rx, ry);
    cairo_clip(m_cr);
}

void Painter::PopClip() { cairo_restore(m_cr); }

void Painter::DrawPart(cairo_surface_t* image, const Rect& src, const Rect& dst, const ImageDesc& desc)
{
    if (src.Empty() || dst.Empty()) return;
    cairo_surface_t* part = cairo_surface_create_for_rectangle(image, src.left, src.top, src.Width(), src.Height());
    cairo_pattern_t* pattern = cairo_pattern_create_for_surface(part);
    double sx = desc.xtiled ? 1.0 : static_cast<double>(dst.Width()) / src.Width();
    double sy = desc.ytiled ? 1.0 : static_cast<double>(dst.Height()) / src.Height();
    cairo_matrix_t m;
    cairo_matrix_init_scale(&m, 1.0 / sx, 1.0 / sy);
    cairo_matrix_translate(&m, -dst.left, -dst.top);
    cairo_pattern_set_matrix(pattern, &m);
    cairo_pattern_set_extend(pattern, (desc.xtiled || desc.ytiled) ? CAIRO_EXTEND_REPEAT : CAIRO_EXTEND_PAD);
    cairo_pattern_set_filter(pattern, (sx == 1.0 && sy == 1.0) ? CAIRO_FILTER_NEAREST : CAIRO_FILTER_GOOD);
    cairo_save(m_cr);
    cairo_rectangle(m_cr, dst.left, dst.top, dst.Width(), dst.Height());
    cairo_clip(m_cr);
    cairo_set_source(m_cr, pattern);
    if (desc.fade == 255)
        cairo_paint(m_cr);
    else
        cairo_paint_with_alpha(m_cr, desc.fade / 255.0);
    cairo_restore(m_cr);
    cairo_pattern_destroy(pattern);
    cairo_surface_destroy(part);
}

void Painter::DrawImage(cairo_surface_t* image, const Rect& control, const ImageDesc& desc)
{
    if (!image || desc.fade == 0) return;
    Rect whole{0, 0, cairo_image_surface_get_width(image), cairo_image_surface_get_height(image)};
    Rect src = desc.source ? desc.source->Intersect(whole) : whole;
    Rect dst = desc.dest ? desc.dest->Offset(control.left, control.top) : control;
    if (src.Empty() || dst.Empty()) return;
    const Rect& c = desc.corner;
    bool nine = c.left > 0 || c.top > 0 || c.right > 0 || c.bottom > 0;
    if (!nine || c.left + c.right > src.Width() || c.top + c.bottom > src.Height()) {
        DrawPart(image, src, dst, desc);
        return;
    }
    // Nine-patch: corners keep their size, edges stretch along one axis and
    // the centre along both (or is left out when the description has a hole).
    int sxs[4] = {src.left, src.left + c.left, src.right - c.right, src.right};
    int sys[4] = {src.top, src.top + c.top, src.bottom - c.bottom, src.bottom};
    int dxs[4] = {dst.left, dst.left + c.left, dst.right - c.right, dst.right};
    int dys[4] = {dst.top, dst.top + c.top, dst.bottom - c.bottom, dst.bottom};
    if (dxs[1] > dxs[2]) dxs[1] = dxs[2] = (dst.left + dst.right) / 2;
    if (dys[1] > dys[2]) dys[1] = dys[2] = (dst.top + dst.bottom) / 2;
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col) {
            if (desc.hole && row == 1 && col == 1) continue;
            DrawPart(image, {sxs[col], sys[row], sxs[col + 1], sys[row + 1]},
                     {dxs[col], dys[row], dxs[col + 1], dys[row + 1]}, desc);
        }
}

void Painter::DrawText(const Rect& rc, std::wstring_view text, const FontInfo& font, uint32_t argb, unsigned style)
{
    if (text.empty() || rc.Empty() || (argb >> 24) == 0) return;
    auto layout = MakeLayout(m_cr, text, font, style, rc.Width());
    int w = 0, h = 0;
    pango_layout_get_pixel_size(layout.get(), &w, &h);
    double y = rc.top;
    if (style & kTextVCenter)
        y = rc.top + (rc.Height() - h) / 2.0;
    else if (style & kTextBottom)
        y = rc.bottom - h;
    cairo_save(m_cr);
    cairo_rectangle(m_cr, rc.left, rc.top, rc.Width(), rc.Height());
    cairo_clip(m_cr);
    SetColour(argb);
    cairo_move_to(m_cr, rc.left, static_cast<int>(y));
    pango_cairo_show_layout(m_cr, layout.get());
    cairo_restore(m_cr);
}

Size Painter::MeasureText(std::wstring_view text, const FontInfo& font, unsigned style, int maxWidth)
{
    auto layout = MakeLayout(MeasuringContext(), text, font, style & ~kTextEndEllipsis,
                             (style & kTextWordBreak) ? maxWidth : 0);
    int w = 0, h = 0;
    pango_layout_get_pixel_size(layout.get(), &w, &h);
    return {w, h};
}

}  // namespace toolkit
