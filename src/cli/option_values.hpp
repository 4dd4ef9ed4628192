#pragma once

#include <string>
#include <string_view>

#include "run/run_settings.hpp"

// Readers of the command line's option values, one per option. Each sets its field and returns
// true, or returns false and leaves the settings as they were when the value is not one the
// option takes.
namespace tarnwick::option_values {

bool inputFile(std::string_view value, RunSettings& s);
bool resultFile(std::string_view value, RunSettings& s);
bool goodOnlyFile(std::string_view value, RunSettings& s);
bool notFoundFile(std::string_view value, RunSettings& s);
bool clearCommand(std::string_view value, RunSettings& s);
bool setupCommand(std::string_view value, RunSettings& s);
// Seconds with decimals down to a hundredth, up to a day; 0 asks for the default.
bool timePerPosition(std::string_view value, RunSettings& s);
// The same read from the number the value starts with, as the original /t always did.
bool originalTime(std::string_view value, RunSettings& s);
// Seconds with decimals, up to a day.
bool initTime(std::string_view value, RunSettings& s);
// Whole seconds read like atoi, as the original /a always did; not negative.
bool originalInitTime(std::string_view value, RunSettings& s);
// edit, cbedit or setboard, exactly.
bool boardSetup(std::string_view value, RunSettings& s);
// Takes no value: any call turns UCI on.
bool uci(std::string_view value, RunSettings& s);
bool moveTimeout(std::string_view value, RunSettings& s);
bool concurrency(std::string_view value, RunSettings& s);
bool depth(std::string_view value, RunSettings& s);
bool nodes(std::string_view value, RunSettings& s);
bool multipv(std::string_view value, RunSettings& s);
bool earlyStop(std::string_view value, RunSettings& s);
bool shard(std::string_view value, RunSettings& s);
// MIN-MAX, whole numbers with MIN <= MAX.
bool rating(std::string_view value, RunSettings& s);
// One theme word more that a puzzle must have: no blanks, not empty.
bool theme(std::string_view value, RunSettings& s);
bool limit(std::string_view value, RunSettings& s);
// Appends one more file to compare; it may not be empty.
bool compareFile(std::string_view value, RunSettings& s);
// A file one of the newer options names; it may not be empty, as no file could be written.
template <std::string RunSettings::*file>
bool outputFile(std::string_view value, RunSettings& s) {
    if (value.empty()) return false;
    s.*file = value;
    return true;
}
bool minScore(std::string_view value, RunSettings& s);
bool minSolved(std::string_view value, RunSettings& s);

}  // namespace tarnwick::option_values
