#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "driver/run_settings.hpp"

namespace tarnwick {

// True when the word is meant as a long option ("--name" or "--name=value"), known or not.
bool isLongOption(std::string_view word);

// Applies the long option at words[index], with its value from the same word after "=" or from
// the next word, and moves index past what it used. Returns an error message or "".
std::string applyLongOption(const std::vector<std::string>& words, size_t& index,
                            RunSettings& settings);

// The usage lines of the long options.
std::string longOptionsUsage();

}  // namespace tarnwick
