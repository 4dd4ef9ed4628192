#pragma once

#include <algorithm>
#include <string>
#include <string_view>

namespace tarnwick {

// Cuts the bytes of an engine's output, however they were split by the reads, into lines:
// a line ends at "\n", carriage returns are dropped wherever they stand, and a line is seen
// only up to its first NUL byte, as a C string would be. Bytes after the last "\n" wait for
// more input.
class LineAssembler {
  public:
    // Calls deliver(line) for every line that bytes completes, in order, and returns false as
    // soon as deliver does (the rest of bytes is then dropped).
    template <typename Deliver>
    bool feed(std::string_view bytes, Deliver&& deliver) {
        while (!bytes.empty()) {
            const size_t newline = bytes.find('\n');
            if (newline == std::string_view::npos) {
                appendWithoutReturns(bytes);
                return true;
            }
            const std::string_view segment = bytes.substr(0, newline);
            bytes.remove_prefix(newline + 1);
            std::string_view line = segment;
            // The common whole line in one read goes out without a copy.
            if (!pending_.empty() || segment.find('\r') != std::string_view::npos) {
                appendWithoutReturns(segment);
                line = pending_;
            }
            line = line.substr(0, line.find('\0'));
            const bool goOn = deliver(line);
            pending_.clear();
            if (!goOn) return false;
        }
        return true;
    }

    // The bytes of the unfinished line (carriage returns already dropped).
    std::string_view pending() const { return pending_; }

  private:
    void appendWithoutReturns(std::string_view bytes) {
        for (size_t start = 0; start < bytes.size();) {
            const size_t ret = std::min(bytes.find('\r', start), bytes.size());
            pending_.append(bytes.substr(start, ret - start));
            start = ret + 1;
        }
    }

    std::string pending_;
};

}  // namespace tarnwick
