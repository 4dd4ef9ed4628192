#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick {

// Lines of a file told in one message: how many, and the first of them.
struct LineTally {
    std::size_t count = 0;
    std::size_t first = 0;

    void add(std::size_t number) {
        if (count++ == 0) first = number;
    }
    // "<n> <unit>s of <file> <many> (first: line <k>); <done>.", or for one "1 <unit> of <file>
    // <one> (line <k>); <done>."; nothing when there was none. The unit is what the file holds
    // one of on each line: "line", or "row" in a table.
    void tell(std::vector<std::string>& messages, const std::string& fileName, std::string_view one,
              std::string_view many, std::string_view done, std::string_view unit = "line") const;
};

// "Line <k> of <file> is longer than <limit>; skipped."
std::string overlongLineMessage(const std::string& fileName, std::size_t number,
                                std::size_t maxLineBytes);

}  // namespace tarnwick
