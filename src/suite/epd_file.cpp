#include "suite/epd_file.hpp"

#include <algorithm>
#include <cstdio>

#include "text/text.hpp"

namespace tarnwick {

namespace {

// The file's bytes; nothing when it cannot be opened or read (a directory, for one).
std::string readBytes(const std::string& fileName) {
    std::string content;
    std::FILE* file = std::fopen(fileName.c_str(), "rb");
    if (file == nullptr) return content;
    if (std::fseek(file, 0, SEEK_END) == 0) {
        const long size = std::ftell(file);
        // A directory reports a huge size: reserve only what a real file can hold.
        if (size > 0 && size < (1L << 30)) content.reserve(static_cast<size_t>(size));
        std::rewind(file);
    }
    char buffer[65536];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) content.append(buffer, n);
    std::fclose(file);
    return content;
}

// Lines starting with ";" or "#" are comments: no position starts with either.
bool isComment(const std::string& line) {
    return line.front() == ';' || line.front() == '#';
}

// Copies the line that starts at pos into line and moves pos past its end (LF, CR LF or a lone
// CR); false when no line is left.
bool nextLine(const std::string& content, size_t& pos, std::string& line) {
    if (pos >= content.size()) return false;
    const size_t end = std::min(content.find_first_of("\r\n", pos), content.size());
    line.assign(content, pos, end - pos);
    pos = end;
    if (pos < content.size() && content[pos] == '\r') ++pos;
    if (pos < content.size() && content[pos] == '\n') ++pos;
    return true;
}

}  // namespace

void readEpdFile(const std::string& fileName, std::vector<TestPosition>& list) {
    const std::string content = readBytes(fileName);
    // Records are large: one allocation for all of them instead of a copy at every growth.
    list.reserve(list.size() +
                 static_cast<size_t>(std::count(content.begin(), content.end(), '\n')) + 1);
    std::string line;
    for (size_t pos = 0; nextLine(content, pos, line);) {
        trimControls(line);
        if (!line.empty() && !isComment(line)) list.emplace_back().parseEpd(line);
    }
}

}  // namespace tarnwick
