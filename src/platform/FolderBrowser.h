#pragma once
// The desktop's folder chooser. Asks, in this order, the desktop portal's file
// chooser on the session bus, then zenity, then kdialog; the first one that
// can show a dialog answers. Blocks until the user answers, so callers run it
// on a worker thread.
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>

namespace Platform {

// The chosen folder (UTF-8, absolute); nothing when the user cancelled, when
// no chooser is available, or when `stop` was requested (the open dialog is
// closed then, and the call returns within a fraction of a second).
std::optional<std::string> BrowseForFolder(const std::string& title, std::stop_token stop);

// The local path of a "file://" URI, percent-decoded; nothing for any other
// scheme, a remote host or a malformed escape.
std::optional<std::string> FileUriToPath(std::string_view uri);

}  // namespace Platform
