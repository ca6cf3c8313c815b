// A child program for the process tests.
//   test_child exit N        writes nothing, exits with N
//   test_child args ...      writes each argument on its own line, "<" ">" around it
//   test_child flood N       writes N bytes to stderr, then "done" to stdout
//   test_child env NAME      writes NAME's value or "<unset>"
//   test_child wait          writes "ready", then waits until its input closes
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

int main(int argc, char** argv)
{
    if (argc < 2) return 2;
    std::string mode = argv[1];
    if (mode == "exit" && argc == 3) return std::atoi(argv[2]);
    if (mode == "args") {
        for (int i = 2; i < argc; ++i) std::printf("<%s>\n", argv[i]);
        return 0;
    }
    if (mode == "flood" && argc == 3) {
        std::string chunk(4096, 'e');
        for (long left = std::atol(argv[2]); left > 0; left -= 4096)
            std::fwrite(chunk.data(), 1, left < 4096 ? static_cast<size_t>(left) : chunk.size(), stderr);
        std::fflush(stderr);
        std::printf("done\n");
        return 0;
    }
    if (mode == "wait") {
        std::printf("ready\n");
        std::fflush(stdout);
        while (std::getchar() != EOF) {
        }
        return 0;
    }
    if (mode == "env" && argc == 3) {
        const char* value = std::getenv(argv[2]);
        std::printf("%s\n", value != nullptr ? value : "<unset>");
        return 0;
    }
    return 2;
}
