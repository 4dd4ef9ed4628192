// tarnwick-testengine: a stand-in chess engine for tests. Scripted mode:
//   tarnwick-testengine --script FILE | --script-text TEXT [--log FILE]
// Searching mode, a small real engine speaking UCI or xboard:
//   tarnwick-testengine --search
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

#include "testengine/runner.hpp"
#include "testengine/search_mode.hpp"

namespace {

constexpr const char* kUsage =
    "usage: tarnwick-testengine (--script FILE | --script-text TEXT) [--log FILE]\n"
    "       tarnwick-testengine --search\n";

bool readFile(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream content;
    content << in.rdbuf();
    text = content.str();
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace tarnwick::testengine;
    RunOptions options;
    std::string scriptText;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        options.args.emplace_back(arg);
        const bool hasValue = i + 1 < argc;
        if (arg == "--search") return runSearchEngine();
        if (arg == "--script" && hasValue) {
            options.args.emplace_back(argv[++i]);
            if (!readFile(argv[i], scriptText)) {
                std::fprintf(stderr, "cannot read script %s\n", argv[i]);
                return 2;
            }
        } else if (arg == "--script-text" && hasValue) {
            options.args.emplace_back(argv[++i]);
            scriptText = argv[i];
        } else if (arg == "--log" && hasValue) {
            options.args.emplace_back(argv[++i]);
            options.logFile = argv[i];
        }
    }
    ParsedScript parsed = parseScript(scriptText);
    if (!parsed.error.empty()) {
        std::fprintf(stderr, "%s\n%s", parsed.error.c_str(), kUsage);
        return 2;
    }
    options.script = std::move(parsed.script);
    return runScript(options);
}
