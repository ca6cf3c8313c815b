// A stand-in for the package installer and the uninstaller in tests. It
// records the arguments it got in "<program>.args" (one per line) and then
// follows "<program>.script":
//   out TEXT    write TEXT to standard output (\n, \r, \\ and \xNN escapes) and flush
//   err N       write N bytes to standard error
//   sleep MS    pause
//   exit CODE   end with that code
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>

namespace {

std::string Unescape(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char c = text[++i];
        if (c == 'n') out += '\n';
        else if (c == 'r') out += '\r';
        else if (c == 'x' && i + 2 < text.size()) {
            out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else out += c;
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string self = argv[0];
    {
        std::ofstream args(self + ".args", std::ios::trunc);
        for (int i = 1; i < argc; ++i) args << argv[i] << '\n';
    }
    std::ifstream script(self + ".script");
    for (std::string line; std::getline(script, line);) {
        const size_t space = line.find(' ');
        const std::string verb = line.substr(0, space);
        const std::string arg = space == std::string::npos ? std::string() : line.substr(space + 1);
        if (verb == "out") {
            const std::string text = Unescape(arg);
            std::fwrite(text.data(), 1, text.size(), stdout);
            std::fflush(stdout);
        } else if (verb == "err") {
            const std::string noise(std::stoul(arg), 'e');
            std::fwrite(noise.data(), 1, noise.size(), stderr);
            std::fflush(stderr);
        } else if (verb == "sleep") {
            std::this_thread::sleep_for(std::chrono::milliseconds(std::stoi(arg)));
        } else if (verb == "exit") {
            return std::stoi(arg);
        }
    }
    return 0;
}
