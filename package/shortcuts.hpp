#pragma once
// Desktop and application-menu entries (freedesktop.org desktop entries) for
// the installed product.
#include <filesystem>
#include <string>

namespace lexivar::package {

std::filesystem::path DesktopFolder();
std::filesystem::path ApplicationMenuFolder();

// The text of a desktop entry starting the product in folder.
std::string DesktopEntryText(const std::filesystem::path& folder);

// Writes the entry into dir (created when missing); false on failure.
bool WriteDesktopEntry(const std::filesystem::path& dir, const std::filesystem::path& folder,
                       std::filesystem::path& written);

}  // namespace lexivar::package
