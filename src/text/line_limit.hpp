#pragma once

#include <cstddef>
#include <string>

namespace tarnwick {

// The longest line the program holds, from an engine or an EPD file: far beyond any real
// analysis line or position, and small enough that an endless line cannot exhaust memory.
inline constexpr std::size_t kMaxLineBytes = std::size_t{64} << 20;

// A line length for messages: "64 MiB", or "100 bytes" when it is no whole number of MiB.
inline std::string lineLimitText(std::size_t bytes) {
    constexpr std::size_t kMiB = std::size_t{1} << 20;
    if (bytes != 0 && bytes % kMiB == 0) return std::to_string(bytes / kMiB) + " MiB";
    return std::to_string(bytes) + " bytes";
}

}  // namespace tarnwick
