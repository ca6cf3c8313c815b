#pragma once

#include <filesystem>

#include "toolkit/geometry.h"
#include "toolkit/image.h"

namespace toolkit {

class PaintManager;

// Paints a whole window into a new ARGB surface the size of its client area,
// with the window region's rounded corners left transparent.
SurfacePtr RenderWindow(PaintManager& manager);
// Repaints only the dirty area of an existing backing surface; returns it.
Rect RepaintDirty(PaintManager& manager, cairo_surface_t* backing);
bool WritePng(cairo_surface_t* surface, const std::filesystem::path& path);

}  // namespace toolkit
