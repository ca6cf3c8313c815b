#pragma once

#include <cairo.h>

#include <filesystem>

// Each function draws one family of images into the "res" folder of a skin and
// returns false as soon as one file cannot be written.
namespace skinart {

using Path = std::filesystem::path;

bool DrawBrand(const Path& res, const Path& icon);
bool DrawBackgrounds(const Path& res);
bool DrawButtons(const Path& res);
bool DrawFormControls(const Path& res);
bool DrawTitleButtons(const Path& res);
bool DrawDialogIcons(const Path& res);
bool DrawSpinner(const Path& res);

// The product mark on a size×size square at the current origin.
void LogoMark(cairo_t* cr, double size);

}  // namespace skinart
