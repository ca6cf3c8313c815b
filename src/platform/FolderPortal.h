#pragma once
// The halves of the folder chooser; only FolderBrowser.cpp puts them together.
#include <optional>
#include <stop_token>
#include <string>

namespace Platform {

// What one chooser made of the request.
struct ChooserAnswer {
    bool shown = false;  // false: this chooser is not available, the next may ask
    std::optional<std::string> folder;
};

// The desktop portal's file chooser on the session bus, in folder mode.
ChooserAnswer AskPortal(const std::string& title, std::stop_token stop);

}  // namespace Platform
