#include "driver/command_line.hpp"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "driver/long_options.hpp"
#include "engine/engine_file.hpp"
#include "engine/uci_parser.hpp"
#include "engine/winboard_parser.hpp"
#include "text/seconds_text.hpp"
#include "text/text.hpp"

namespace tarnwick {

namespace {

constexpr std::string_view kValueOptions[] = {"/i", "/o", "/g", "/w", "/c", "/s", "/t", "/a", "/e"};

bool takesValue(std::string_view word) {
    return std::find(std::begin(kValueOptions), std::end(kValueOptions), word) !=
           std::end(kValueOptions);
}

bool endsWithIgnoringCase(std::string_view text, std::string_view suffix) {
    if (text.size() < suffix.size()) return false;
    return std::equal(suffix.begin(), suffix.end(), text.end() - static_cast<long>(suffix.size()),
                      [](char a, char b) {
                          auto lower = [](char c) {
                              return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
                          };
                          return lower(a) == lower(b);
                      });
}

// Seconds to milliseconds without overflowing the 32-bit field.
int32_t secondsToMilliseconds(int32_t seconds) {
    const int64_t ms = int64_t{seconds} * 1000;
    return static_cast<int32_t>(std::clamp<int64_t>(ms, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

// Applies one option with its value; returns an error message or "".
std::string applyOption(std::string_view option, const std::string& value, RunSettings& settings) {
    if (option == "/i") settings.inputFile = value;
    if (option == "/o") settings.resultFile = value;
    if (option == "/g") settings.goodOnlyFile = value;
    if (option == "/w") settings.notFoundFile = value;
    if (option == "/c") settings.clearCommand = value;
    if (option == "/s") settings.setupCommand = value;
    if (option == "/t") {
        // Whole seconds as before, or a decimal down to a hundredth.
        const std::optional<SecondsValue> time = leadingSeconds(value);
        if (!time || (time->milliseconds > 0 && time->milliseconds < 10)) {
            return "Invalid value for option /t: " + value;
        }
        settings.msPerPosition = time->milliseconds;
        settings.timeDecimals = time->decimals;
    }
    if (option == "/a") {
        const int32_t number = atoiValue(value);
        if (number < 0) return "Invalid value for option /a: " + value;
        settings.initMilliseconds = secondsToMilliseconds(number);
    }
    if (option == "/e") {
        if (value == "edit") {
            settings.boardSetupMethod = BoardSetupMethod::edit;
        } else if (value == "cbedit") {
            settings.boardSetupMethod = BoardSetupMethod::cbedit;
        } else if (value == "setboard") {
            settings.boardSetupMethod = BoardSetupMethod::setboard;
        } else {
            return "Invalid value for option /e: " + value;
        }
    }
    return {};
}

}  // namespace

CommandLineResult parseCommandLine(const std::vector<std::string>& words, RunSettings& settings) {
    CommandLineResult result;
    if (words.size() == 1 && (words[0] == "--help" || words[0] == "-h")) {
        result.request = CommandLineRequest::Help;
        return result;
    }
    if (words.size() == 1 && words[0] == "--version") {
        result.request = CommandLineRequest::Version;
        return result;
    }

    size_t i = 0;
    for (; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word == "/u") {
            settings.useUci = true;
            continue;
        }
        if (isLongOption(word)) {
            result.error = applyLongOption(words, i, settings);
            if (!result.error.empty()) return result;
            continue;
        }
        if (!takesValue(word)) break;
        if (i + 1 == words.size()) {
            result.error = "Missing value for option " + word + ".";
            return result;
        }
        result.error = applyOption(word, words[++i], settings);
        if (!result.error.empty()) return result;
    }

    for (size_t first = i; i < words.size(); ++i) {
        if (i > first) settings.engineCommand += ' ';
        settings.engineCommand += words[i];
    }
    return result;
}

std::string usageText() {
    return versionLine() +
           "\n"
           "Measures how well a chess engine solves a suite of EPD test positions.\n"
           "Syntax: Tarnwick [/i input /o output /c clear /t time /s setup] <command line>\n"
           "Where:\n"
           "  /a Init time in second, default=2.\n"
           "  /c Command to clear the hash. Default is 'new'.\n"
           "  /e Method to set up the board (WB). Values: edit, cbedit or setboard.\n"
           "     Default=setboard.\n"
           "  /g File to write positions with good only moves.\n"
           "  /i Textfile with the epd positions.\n"
           "  /o File to write the result.\n"
           "  /t Time in sec. to use on each position. Default=10\n"
           "  /s Command to set up the engine.\n"
           "     Default is winboard engines are:\n"
           "        xboard\\nhard\\neasy\\nnew\\nlevel 1 1440 0\\npost.\n"
           "  /u Use the UCI protocol.\n"
           "  /w File to write positions with move not found.\n"
           "<command line> is the command for starting the engine. If the engine use\n"
           "the UCI protocol you can also point to the .eng file here.\n"
           "Long options, before the command line (--name value or --name=value):\n" +
           longOptionsUsage();
}

std::string versionLine() {
    return "Tarnwick " TARNWICK_VERSION;
}

void expandNewlines(std::string& text) {
    size_t out = 0;
    for (size_t in = 0; in < text.size(); ++in) {
        if (text[in] == '\\' && in + 1 < text.size() && text[in + 1] == 'n') {
            text[out++] = '\n';
            ++in;
        } else {
            text[out++] = text[in];
        }
    }
    text.resize(out);
}

void completeSettings(RunSettings& settings) {
    if (settings.msPerPosition == 0) {
        settings.msPerPosition = 10000;
        settings.timeDecimals = 0;
    }
    expandNewlines(settings.setupCommand);
    expandNewlines(settings.clearCommand);
    prepareEngineCommand(settings);
    if (settings.useUci) {
        if (settings.clearCommand.empty()) settings.clearCommand = kUciDefaultClear;
    } else {
        if (settings.clearCommand.empty()) settings.clearCommand = kWinboardDefaultClear;
        if (settings.setupCommand.empty()) settings.setupCommand = kWinboardDefaultSetup;
    }
}

void prepareEngineCommand(RunSettings& settings) {
    settings.engineCommand = trimmed(settings.engineCommand);
    if (settings.engineCommand.size() > 4 && endsWithIgnoringCase(settings.engineCommand, ".eng")) {
        const std::string path = settings.engineCommand;
        readEngineFile(path, settings.engineCommand, settings.engineOptions);
        settings.useUci = true;
    }
}

}  // namespace tarnwick
