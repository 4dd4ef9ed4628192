// Reads a puzzle table the way a run reads its suite, with filters, and prints how many puzzles
// it kept and the reader's messages: the program bench/puzzle_read.sh times.
// Usage: tarnwick-puzzle-read TABLE [MIN-MAX [THEME [LIMIT]]], "-" and "" for no range and no theme
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "epd/epd_file.hpp"

int main(int argc, char** argv) {
    using namespace tarnwick;
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s TABLE [MIN-MAX [THEME [LIMIT]]]\n", argv[0]);
        return 2;
    }
    PuzzleFilter filter;
    if (argc > 2) {
        filter.byRating = std::sscanf(argv[2], "%d-%d", &filter.minRating, &filter.maxRating) == 2;
    }
    if (argc > 3 && argv[3][0] != '\0') filter.themes.emplace_back(argv[3]);
    if (argc > 4) filter.limit = std::atoi(argv[4]);
    std::vector<TestPosition> suite;
    for (const std::string& message : readSuiteFile(argv[1], filter, suite)) {
        std::printf("%s\n", message.c_str());
    }
    std::printf("kept %zu\n", suite.size());
    return 0;
}
