#pragma once

#include <chrono>
#include <string>

namespace tarnwick {

// The UTC date of a time, year, month and day joined by separator: "2026-12-09", "2026.12.09".
std::string utcDateText(std::chrono::system_clock::time_point time, char separator);

// A time as "YYYY-MM-DDTHH:MM:SSZ".
std::string utcTimeText(std::chrono::system_clock::time_point time);

}  // namespace tarnwick
