#pragma once

#include <span>
#include <string>
#include <string_view>

#include "run/run_settings.hpp"

namespace tarnwick {

// What the command line asks for besides a run.
enum class CommandLineRequest { Run, Help, Version };

// How many words an option takes after its name.
enum class OptionArity {
    None,  // a switch
    One,   // the next word, whatever it is, or the text after "=" of a long form
    Many,  // as One, then every following word that is not an option
};

// What the shell completes an option's value with.
enum class ValueCompletion { Nothing, File, Choice };

// One option of the command line: everything the parser, the help text and the shell
// completion know of it.
struct OptionRow {
    std::string_view longName;  // "input" for --input
    char shortName;             // 'i' for -i; 0: none
    char slashName;             // 'i' for the original /i; 0: none
    OptionArity arity;
    std::string_view valueName;  // shown in the help: FILE, SECONDS, ...
    ValueCompletion completion;
    std::string_view choices;      // the values, blank-separated, when completed from a choice
    std::string_view defaultText;  // shown in the help; empty: nothing to show
    std::string_view help;
    // Help and Version ask for that text instead of a run, and take no value.
    CommandLineRequest request;
    // Applies one value (of a switch: an empty one); false when the option does not take it.
    bool (*apply)(std::string_view value, RunSettings& settings);
    // The same for the slash form, when that reads its value otherwise; null: apply.
    bool (*applyOriginal)(std::string_view value, RunSettings& settings) = nullptr;
};

// Every option, in the order the help text lists them.
std::span<const OptionRow> optionTable();

// The option written as that word ("--input", "-i" or "/i"; a long form may carry "=value"),
// or null. Case and spelling must match exactly.
const OptionRow* findOption(std::string_view word);

// The names of an option as the help shows them: "--input, -i, /i".
std::string optionNames(const OptionRow& row);

}  // namespace tarnwick
