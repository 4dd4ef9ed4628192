#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "cli/option_table.hpp"
#include "run/run_settings.hpp"

namespace tarnwick {

struct CommandLineResult {
    CommandLineRequest request = CommandLineRequest::Run;
    std::string error;  // not empty: the command line is unusable, with this message
};

// Fills settings from the words of the command line (the program's name excluded).
CommandLineResult parseCommandLine(const std::vector<std::string>& words, RunSettings& settings);

// Replaces, in place, every backslash-n pair by a newline character.
void expandNewlines(std::string& text);

// Completes the settings before anything starts: the time default, the escapes of the set-up
// and clear commands expanded, the engine command prepared, and the protocol's default clear
// and set-up commands where none was given. Returns "" or the usage error of limits the
// protocol cannot search with.
std::string completeSettings(RunSettings& settings);

// Trims the engine command and, when it names a ".eng" file, takes the engine's command line
// and options from that file and switches to UCI.
void prepareEngineCommand(RunSettings& settings);

}  // namespace tarnwick
