#include "cli/command_line.hpp"

#include <algorithm>

#include "cli/option_table.hpp"
#include "engine/engine_file.hpp"
#include "engine/protocol_choice.hpp"
#include "text/text.hpp"

namespace tarnwick {

namespace {

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

// Whether the word is meant as an option: a known name in any form, or any long form.
bool isOptionWord(std::string_view word) {
    return word == "--" || (word.size() > 2 && word.starts_with("--")) ||
           findOption(word) != nullptr;
}

// Reads the option at words[index] with its values and moves index onto its last word.
// Returns an error message naming the option as it was written, or "".
std::string applyOption(const std::vector<std::string>& words, size_t& index,
                        RunSettings& settings) {
    const std::string_view word = words[index];
    const OptionRow* row = findOption(word);
    const size_t equals = word.starts_with("--") ? word.find('=') : std::string_view::npos;
    const std::string written(word.substr(0, equals));
    if (row == nullptr) return "Unknown option " + written + ".";
    const auto reader =
        word.starts_with('/') && row->applyOriginal != nullptr ? row->applyOriginal : row->apply;
    const auto apply = [&](std::string_view value) -> std::string {
        if (reader(value, settings)) return {};
        return "Invalid value for option " + written + ": " + std::string(value);
    };
    if (row->arity == OptionArity::None) {
        if (equals == std::string_view::npos) return apply({});
        return "Invalid value for option " + written + ": " + std::string(word.substr(equals + 1));
    }
    std::string error;
    if (equals != std::string_view::npos) {
        error = apply(word.substr(equals + 1));
    } else if (index + 1 < words.size() &&
               (row->arity == OptionArity::One || !isOptionWord(words[index + 1]))) {
        error = apply(words[++index]);
    } else {
        return "Missing value for option " + written + ".";
    }
    while (error.empty() && row->arity == OptionArity::Many && index + 1 < words.size() &&
           !isOptionWord(words[index + 1])) {
        error = apply(words[++index]);
    }
    return error;
}

}  // namespace

CommandLineResult parseCommandLine(const std::vector<std::string>& words, RunSettings& settings) {
    CommandLineResult result;
    // Alone, -h asks for help; with more words it starts an engine's command line as before.
    if (words.size() == 1 && words[0] == "-h") {
        result.request = CommandLineRequest::Help;
        return result;
    }

    size_t i = 0;
    for (; i < words.size(); ++i) {
        if (words[i] == "--") {
            ++i;
            break;
        }
        if (!isOptionWord(words[i])) break;
        const OptionRow* row = findOption(words[i]);
        if (row != nullptr && row->request != CommandLineRequest::Run &&
            words[i].find('=') == std::string::npos) {
            result.request = row->request;
            return result;
        }
        result.error = applyOption(words, i, settings);
        if (!result.error.empty()) return result;
    }

    for (size_t first = i; i < words.size(); ++i) {
        if (i > first) settings.engine.command += ' ';
        settings.engine.command += words[i];
    }
    return result;
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

std::string completeSettings(RunSettings& settings) {
    if (settings.limits.msPerPosition == 0) {
        settings.limits.msPerPosition = 10000;
        settings.limits.timeDecimals = 0;
    }
    expandNewlines(settings.engine.setupCommand);
    expandNewlines(settings.engine.clearCommand);
    prepareEngineCommand(settings);
    const std::unique_ptr<Protocol> protocol = makeProtocol(settings.engine);
    settings.engine = protocol->settings();
    return protocol->unsupported(settings.limits);
}

void prepareEngineCommand(RunSettings& settings) {
    settings.engine.command = trimmed(settings.engine.command);
    if (settings.engine.command.size() > 4 &&
        endsWithIgnoringCase(settings.engine.command, ".eng")) {
        const std::string path = settings.engine.command;
        readEngineFile(path, settings.engine.command, settings.engine.options);
        settings.engine.protocol = ProtocolKind::uci;
    }
}

}  // namespace tarnwick
