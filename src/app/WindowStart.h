#pragma once
// The window start point of the entry: the toolkit comes up, the main window
// is created, centred and run modally; the call returns when it is gone.
#include <memory>

// The returned object is the main window; releasing it ends the window's jobs
// and then the toolkit.
std::shared_ptr<void> RunMainWindow();
