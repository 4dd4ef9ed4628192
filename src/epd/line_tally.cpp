#include "epd/line_tally.hpp"

#include "text/line_limit.hpp"

namespace tarnwick {

void LineTally::tell(std::vector<std::string>& messages, const std::string& fileName,
                     std::string_view one, std::string_view many, std::string_view done,
                     std::string_view unit) const {
    if (count == 0) return;
    const bool single = count == 1;
    messages.push_back(std::to_string(count) + " " + std::string(unit) +
                       (single ? " of " : "s of ") + fileName + " " +
                       std::string(single ? one : many) + (single ? " (line " : " (first: line ") +
                       std::to_string(first) + "); " + std::string(done) + ".");
}

std::string overlongLineMessage(const std::string& fileName, std::size_t number,
                                std::size_t maxLineBytes) {
    return "Line " + std::to_string(number) + " of " + fileName + " is longer than " +
           lineLimitText(maxLineBytes) + "; skipped.";
}

}  // namespace tarnwick
