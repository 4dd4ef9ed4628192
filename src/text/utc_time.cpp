#include "text/utc_time.hpp"

#include <cstdio>

namespace tarnwick {

std::string utcDateText(std::chrono::system_clock::time_point time, char separator) {
    const std::chrono::year_month_day date(std::chrono::floor<std::chrono::days>(time));
    char text[16];
    std::snprintf(text, sizeof text, "%04d%c%02u%c%02u", static_cast<int>(date.year()), separator,
                  static_cast<unsigned>(date.month()), separator,
                  static_cast<unsigned>(date.day()));
    return text;
}

std::string utcTimeText(std::chrono::system_clock::time_point time) {
    using namespace std::chrono;
    const auto seconds = floor<std::chrono::seconds>(time);
    const hh_mm_ss clock(seconds - floor<days>(seconds));
    char text[16];
    std::snprintf(text, sizeof text, "T%02d:%02d:%02dZ", static_cast<int>(clock.hours().count()),
                  static_cast<int>(clock.minutes().count()),
                  static_cast<int>(clock.seconds().count()));
    return utcDateText(time, '-') + text;
}

}  // namespace tarnwick
