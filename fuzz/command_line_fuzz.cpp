// Command lines of any words (NUL bytes separate them): parsed without a crash, and an
// unusable one always says why, naming the option as it was written.
#include <algorithm>
#include <vector>

#include "cli/command_line.hpp"
#include "fuzz_support.hpp"

using namespace tarnwick;
using tarnwick::fuzz::require;

namespace {

// Whether the message names an option as one of the words wrote it (alone, or before "=").
bool namesAWrittenOption(const std::string& message, const std::vector<std::string>& words) {
    const size_t start = message.find("option ") + 7;
    const size_t end =
        message.starts_with("Invalid") ? message.find(": ", start) : message.size() - 1;
    const std::string name = message.substr(start, end - start);
    return std::any_of(words.begin(), words.end(), [&](const std::string& word) {
        return word == name || word.starts_with(name + "=");
    });
}

}  // namespace

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
        require(namesAWrittenOption(result.error, words), "a message names no option given");
    }
    require(settings.limits.msPerPosition >= 0, "a negative time per position was accepted");
    std::string expanded = settings.engine.command;
    expandNewlines(expanded);
    require(expanded.size() <= settings.engine.command.size(), "expanding made text longer");
    return 0;
}
