#include "epd/csv_row.hpp"

#include <algorithm>

namespace tarnwick {

namespace {

// Reads the quoted field whose opening quote stands at pos; pos ends past its closing quote.
bool readQuoted(std::string_view line, std::size_t& pos, std::string& field) {
    ++pos;
    for (;;) {
        const std::size_t quote = line.find('"', pos);
        if (quote == std::string_view::npos) return false;
        field.append(line.substr(pos, quote - pos));
        pos = quote + 1;
        if (pos >= line.size() || line[pos] != '"') return true;
        field += '"';
        ++pos;
    }
}

}  // namespace

bool splitCsvRow(std::string_view line, std::vector<std::string>& fields, std::size_t maxFields) {
    std::size_t count = 0;
    std::size_t pos = 0;
    bool whole = true;
    for (;; ++pos) {
        if (count == fields.size()) fields.emplace_back();
        std::string& field = fields[count++];
        field.clear();
        if (pos < line.size() && line[pos] == '"') {
            whole = readQuoted(line, pos, field) && (pos == line.size() || line[pos] == ',');
            if (!whole) break;
        } else {
            const std::size_t end = std::min(line.find(',', pos), line.size());
            field.assign(line.substr(pos, end - pos));
            pos = end;
        }
        if (pos >= line.size() || count == maxFields) break;
    }
    fields.resize(count);
    return whole;
}

}  // namespace tarnwick
