// lexivar-collector: a statistics endpoint for the demo and the tests. It
// decodes every batch posted to /collect?project=pc and appends each record
// as one JSON line to the output file.
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

#include "collector_server.h"

namespace {

constexpr const char* kUsage =
    "usage: lexivar-collector --port P --out FILE [--host ADDR] [--log FILE]\n"
    "                         [--fault none|500|stall|close] [--fault-count N] [--stall-seconds S]\n";

bool ParseNumber(const char* text, long& value) {
    char* end = nullptr;
    value = std::strtol(text, &end, 10);
    return end != text && *end == '\0';
}

bool ParseArguments(int argc, char** argv, collector::Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (i + 1 >= argc) return false;
        const char* value = argv[++i];
        long number = 0;
        if (name == "--port" && ParseNumber(value, number) && number >= 0 && number < 65536) {
            options.port = static_cast<int>(number);
        } else if (name == "--out") {
            options.outPath = value;
        } else if (name == "--log") {
            options.logPath = value;
        } else if (name == "--host") {
            options.host = value;
        } else if (name == "--fault") {
            if (!collector::ParseFault(value, options.fault)) return false;
        } else if (name == "--fault-count" && ParseNumber(value, number) && number >= 0) {
            options.faultCount = number;
        } else if (name == "--stall-seconds" && ParseNumber(value, number) && number >= 0 && number < 86400) {
            options.stallSeconds = static_cast<int>(number);
        } else {
            return false;
        }
    }
    return !options.outPath.empty();
}

}  // namespace

int main(int argc, char** argv) {
    collector::Options options;
    if (!ParseArguments(argc, argv, options)) {
        std::cerr << kUsage;
        return 2;
    }
    collector::Server server(options);
    const int port = server.Bind();
    if (port < 0) {
        std::cerr << "lexivar-collector: cannot listen on " << options.host << ":" << options.port << "\n";
        return 1;
    }
    // The first line tells a parent that asked for port 0 where to connect.
    std::cout << "listening on " << options.host << ":" << port << std::endl;
    server.Listen();
    return 0;
}
