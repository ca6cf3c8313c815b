#pragma once

#include <optional>

#include "toolkit/geometry.h"

namespace toolkit {

enum class BackendKind {
    Automatic,  // a real display when one opens, otherwise off-screen
    Display,
    Headless,
};

// Chooses where windows appear; called once before the first window. False
// when a display was required and none could be opened.
bool Startup(BackendKind kind = BackendKind::Automatic);
void Shutdown();

// Width and height of the primary screen in pixels; nothing when there is no
// display. Needs no Startup: it can be asked before the first window.
std::optional<Size> PrimaryScreenSize();

}  // namespace toolkit
