// Command lines of any words (NUL bytes separate them): parsed without a crash, and an
// unusable one always says why.
#include <vector>

#include "driver/command_line.hpp"
#include "fuzz_support.hpp"

using namespace tarnwick;
using tarnwick::fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> words;
    std::string_view text = fuzz::textOf(data, size);
    while (!text.empty()) {
        const size_t end = std::min(text.find('\0'), text.size());
        words.emplace_back(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    RunSettings settings;
    const CommandLineResult result = parseCommandLine(words, settings);
    if (!result.error.empty()) {
        require(result.error.starts_with("Missing value for option ") ||
                    result.error.starts_with("Invalid value for option ") ||
                    result.error.starts_with("Unknown option --"),
                "an unusable command line without its message");
    }
    require(settings.msPerPosition >= 0, "a negative time per position was accepted");
    std::string expanded = settings.engineCommand;
    expandNewlines(expanded);
    require(expanded.size() <= settings.engineCommand.size(), "expanding made text longer");
    return 0;
}
