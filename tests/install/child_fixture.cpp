#include "child_fixture.h"

#include <fstream>

void PlaceScriptedChild(const std::filesystem::path& path, const std::vector<std::string>& script) {
    std::filesystem::create_directories(path.parent_path());
    std::filesystem::copy_file(SCRIPTED_CHILD, path, std::filesystem::copy_options::overwrite_existing);
    std::ofstream out(path.string() + ".script", std::ios::trunc);
    for (const auto& line : script) out << line << '\n';
}

std::vector<std::string> RecordedArguments(const std::filesystem::path& path) {
    std::vector<std::string> args;
    std::ifstream in(path.string() + ".args");
    for (std::string line; std::getline(in, line);) args.push_back(line);
    return args;
}
