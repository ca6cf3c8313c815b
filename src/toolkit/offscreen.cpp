#include "toolkit/offscreen.h"

#include "toolkit/paint_manager.h"
#include "toolkit/painter.h"

namespace toolkit {

Rect RepaintDirty(PaintManager& manager, cairo_surface_t* backing)
{
    Rect dirty = manager.TakeDirty();
    if (dirty.Empty() || !backing) return dirty;
    cairo_t* cr = cairo_create(backing);
    Painter painter(cr);
    painter.PushClip(dirty);
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    cairo_paint(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    Size client = manager.GetClientSize();
    Size round = manager.GetWindowInfo().roundCorner;
    painter.PushRoundClip({0, 0, client.cx, client.cy}, round.cx, round.cy);
    manager.Paint(painter, dirty);
    painter.PopClip();
    painter.PopClip();
    cairo_destroy(cr);
    cairo_surface_flush(backing);
    return dirty;
}

SurfacePtr RenderWindow(PaintManager& manager)
{
    manager.TakeDirty();
    Size client = manager.GetClientSize();
    SurfacePtr surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, std::max(1, client.cx), std::max(1, client.cy)));
    manager.Invalidate({0, 0, client.cx, client.cy});
    RepaintDirty(manager, surface.get());
    return surface;
}

bool WritePng(cairo_surface_t* surface, const std::filesystem::path& path)
{
    return surface && cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
}

}  // namespace toolkit
