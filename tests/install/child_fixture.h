#pragma once
// Places the scripted stand-in program where a test needs a package
// installer or an uninstaller, with the script it should follow.
#include <filesystem>
#include <string>
#include <vector>

// Copies the stand-in to `path` and writes its script (lines as described in scripted_child.cpp).
void PlaceScriptedChild(const std::filesystem::path& path, const std::vector<std::string>& script);
// The arguments the stand-in at `path` received in its last run.
std::vector<std::string> RecordedArguments(const std::filesystem::path& path);
