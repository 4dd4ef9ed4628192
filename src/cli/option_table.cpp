#include "cli/option_table.hpp"

#include <algorithm>
#include <iterator>

#include "cli/option_values.hpp"

namespace tarnwick {

namespace {

namespace v = option_values;

using enum OptionArity;
using enum ValueCompletion;
constexpr CommandLineRequest kRun = CommandLineRequest::Run;

// The options of the original program first, then the newer ones; the help keeps this order.
// Where a slash form reads its value differently, it keeps the reading scripts rely on.
constexpr OptionRow kOptions[] = {
    {"input", 'i', 'i', One, "FILE", File, "", "", "The test suite: EPD, or a puzzle table (CSV).",
     kRun, v::inputFile},
    {"output", 'o', 'o', One, "FILE", File, "", "",
     "The result file: read to resume, one record added per position.", kRun, v::resultFile},
    {"solved", 'g', 'g', One, "FILE", File, "", "",
     "Written at the end with the positions solved with full points.", kRun, v::goodOnlyFile},
    {"unsolved", 'w', 'w', One, "FILE", File, "", "",
     "Written at the end with every other position.", kRun, v::notFoundFile},
    {"clear", 'c', 'c', One, "COMMAND", Nothing, "", "new, UCI: ucinewgame",
     "Clears the hash before each position.", kRun, v::clearCommand},
    {"setup", 's', 's', One, "COMMAND", Nothing, "", "see /s above",
     "Sent once after the engine has started.", kRun, v::setupCommand},
    {"time", 't', 't', One, "SECONDS", Nothing, "", "10",
     "Thinking time per position, down to 0.01.", kRun, v::timePerPosition, v::originalTime},
    {"init-time", 'a', 'a', One, "SECONDS", Nothing, "", "2",
     "Pause after the engine's initialisation.", kRun, v::initTime, v::originalInitTime},
    {"board-setup", 'e', 'e', One, "METHOD", Choice, "edit cbedit setboard", "setboard",
     "WinBoard set-up: edit, cbedit or setboard.", kRun, v::boardSetup},
    {"uci", 'u', 'u', None, "", Nothing, "", "", "Speak UCI instead of WinBoard.", kRun, v::uci},
    {"move-timeout", 0, 0, One, "SECONDS", Nothing, "", "10",
     "Grace for the move before a restart; 0 waits forever.", kRun, v::moveTimeout},
    {"concurrency", 'j', 0, One, "N", Nothing, "", "1",
     "Engines searching at once, each its own process.", kRun, v::concurrency},
    {"depth", 0, 0, One, "D", Nothing, "", "", "Search each position to depth D, within the time.",
     kRun, v::depth},
    {"nodes", 0, 0, One, "N", Nothing, "", "",
     "Search each position for N nodes (UCI), within the time.", kRun, v::nodes},
    {"multipv", 0, 0, One, "K", Nothing, "", "",
     "Lines of analysis the engine searches at once (UCI).", kRun, v::multipv},
    {"early-stop", 0, 0, One, "SECONDS", Nothing, "", "",
     "End a search once its first move held full points this long.", kRun, v::earlyStop},
    {"shard", 0, 0, One, "K/N", Nothing, "", "0/1",
     "Test only positions K, K+N, K+2N, ... (from 0).", kRun, v::shard},
    {"rating", 0, 0, One, "MIN-MAX", Nothing, "", "", "Puzzles: only those rated MIN to MAX.", kRun,
     v::rating},
    {"theme", 0, 0, One, "NAME", Nothing, "", "",
     "Puzzles: only those with theme NAME; each one given must be there.", kRun, v::theme},
    {"limit", 0, 0, One, "N", Nothing, "", "", "Puzzles: only the first N the other filters keep.",
     kRun, v::limit},
    {"json", 0, 0, One, "FILE", File, "", "", "Write every position and a summary as JSON Lines.",
     kRun, v::outputFile<&RunSettings::jsonFile>},
    {"compare", 0, 0, Many, "FILE...", File, "", "",
     "Compare result files side by side; takes no engine command.", kRun, v::compareFile},
    {"plot", 0, 0, One, "FILE", File, "", "", "Write the solution-time chart as SVG.", kRun,
     v::outputFile<&RunSettings::plotFile>},
    {"html", 0, 0, One, "FILE", File, "", "", "Write the report as one HTML page with boards.",
     kRun, v::outputFile<&RunSettings::htmlFile>},
    {"pgn", 0, 0, One, "FILE", File, "", "", "Write each position's final line as a PGN game.",
     kRun, v::outputFile<&RunSettings::pgnFile>},
    {"log", 0, 0, One, "FILE", File, "", "",
     "Append every line sent to and read from the engines to FILE.", kRun,
     v::outputFile<&RunSettings::logFile>},
    {"min-score", 0, 0, One, "PERCENT", Nothing, "", "",
     "Exit status 3 when the score is below this % of the maximum.", kRun, v::minScore},
    {"min-solved", 0, 0, One, "COUNT", Nothing, "", "",
     "Exit status 3 when fewer positions got full points.", kRun, v::minSolved},
    {"help", 0, 0, None, "", Nothing, "", "", "Print this text (-h alone does too).",
     CommandLineRequest::Help, nullptr},
    {"version", 0, 0, None, "", Nothing, "", "", "Print the version.", CommandLineRequest::Version,
     nullptr},
};

const OptionRow* findIf(auto matches) {
    const auto* found = std::find_if(std::begin(kOptions), std::end(kOptions), matches);
    return found == std::end(kOptions) ? nullptr : found;
}

}  // namespace

std::span<const OptionRow> optionTable() {
    return kOptions;
}

const OptionRow* findOption(std::string_view word) {
    if (word.size() > 2 && word.starts_with("--")) {
        const std::string_view name = word.substr(2, word.find('=') - 2);
        return findIf([&](const OptionRow& row) { return row.longName == name; });
    }
    if (word.size() != 2 || word[1] == 0) return nullptr;
    if (word[0] == '-')
        return findIf([&](const OptionRow& row) { return row.shortName == word[1]; });
    if (word[0] == '/')
        return findIf([&](const OptionRow& row) { return row.slashName == word[1]; });
    return nullptr;
}

std::string optionNames(const OptionRow& row) {
    std::string names = "--" + std::string(row.longName);
    if (row.shortName != 0) names += std::string(", -") + row.shortName;
    if (row.slashName != 0) names += std::string(", /") + row.slashName;
    return names;
}

}  // namespace tarnwick
