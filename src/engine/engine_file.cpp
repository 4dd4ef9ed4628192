#include "engine/engine_file.hpp"

#include <fstream>
#include <string_view>

#include "text/text.hpp"

namespace tarnwick {

namespace {

enum class Section { None, Engine, Options };

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

// The line as a C string would see it, without the control characters and blanks at its ends.
std::string_view cleanLine(std::string_view line) {
    line = line.substr(0, line.find('\0'));
    while (!line.empty() && static_cast<unsigned char>(line.front()) <= 32) line.remove_prefix(1);
    while (!line.empty() && static_cast<unsigned char>(line.back()) <= 32) line.remove_suffix(1);
    return line;
}

}  // namespace

void readEngineFile(const std::string& path, std::string& engineCommand,
                    std::string& engineOptions) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return;

    Section section = Section::None;
    std::string raw;
    // Lines of any length: a long line must not end the reading and lose later entries.
    while (std::getline(in, raw)) {
        const std::string_view line = cleanLine(raw);
        if (line.starts_with('[')) {
            section = equalsIgnoringCase(line, "[ENGINE]")    ? Section::Engine
                      : equalsIgnoringCase(line, "[OPTIONS]") ? Section::Options
                                                              : Section::None;
            continue;
        }
        if (line.starts_with(';') || section == Section::None) continue;

        const size_t equals = line.find('=');
        if (equals == std::string_view::npos) continue;
        const std::string_view name = trimmedView(line.substr(0, equals));
        const std::string_view value = trimmedView(line.substr(equals + 1));
        if (name.empty()) continue;

        if (section == Section::Options) {
            if (!engineOptions.empty()) engineOptions += '\n';
            engineOptions.append("setoption name ").append(name);
            if (!value.empty()) engineOptions.append(" value ").append(value);
        } else if (equalsIgnoringCase(name, "filename")) {
            engineCommand = std::string(value);
        }
    }
}

}  // namespace tarnwick
