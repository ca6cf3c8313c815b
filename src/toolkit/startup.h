#pragma once

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

}  // namespace toolkit
