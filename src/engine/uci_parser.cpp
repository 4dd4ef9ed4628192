#include "engine/uci_parser.hpp"

#include "text/text.hpp"

namespace tarnwick {

namespace {

// Walks the blank-separated tokens of a text; an exhausted cursor yields empty tokens.
class TokenCursor {
  public:
    explicit TokenCursor(std::string_view text) : text_(text) {}

    std::string_view next() {
        while (pos_ < text_.size() && isBlank(text_[pos_])) ++pos_;
        const size_t start = pos_;
        while (pos_ < text_.size() && !isBlank(text_[pos_])) ++pos_;
        return text_.substr(start, pos_ - start);
    }

  private:
    std::string_view text_;
    size_t pos_ = 0;
};

constexpr int32_t kMateScore = 30000;

}  // namespace

SearchInfo readSearchInfo(std::string_view keys) {
    SearchInfo info;
    TokenCursor cursor(keys);
    for (std::string_view key = cursor.next(); !key.empty(); key = cursor.next()) {
        if (key == "depth") {
            info.depth = atoiValue(cursor.next());
        } else if (key == "time") {
            info.time = atoiValue(cursor.next()) / 10;
        } else if (key == "nodes") {
            info.nodes = atoiValue(cursor.next());
        } else if (key == "score") {
            const std::string_view kind = cursor.next();
            if (kind == "cp") {
                info.score = atoiValue(cursor.next());
            } else if (kind == "mate") {
                info.score = atoiValue(cursor.next()) >= 0 ? kMateScore : -kMateScore;
            }
            // Any other kind ("lowerbound", ...) consumes nothing more: what follows is read
            // as keys and skipped.
        } else if (key == "pv") {
            for (std::string_view move = cursor.next(); !move.empty(); move = cursor.next()) {
                info.pv += ' ';
                info.pv += move;
            }
        }
    }
    return info;
}

std::string thinkingLineOf(const SearchInfo& info) {
    std::string line;
    line.reserve(48 + info.pv.size());
    line += std::to_string(info.depth);
    line += ' ';
    line += std::to_string(info.score);
    line += ' ';
    line += std::to_string(info.time);
    line += ' ';
    line += std::to_string(info.nodes);
    line += info.pv;
    return line;
}

EngineEvent parseUciLine(std::string_view line) {
    const std::string_view text = trimmedView(line);
    TokenCursor cursor(text);
    const std::string_view keyword = cursor.next();
    if (keyword == "info") {
        const SearchInfo info = readSearchInfo(text.substr(4));
        if (info.pv.empty()) return {};
        return {EngineEventKind::Analysis, thinkingLineOf(info)};
    }
    if (keyword == "bestmove") return {EngineEventKind::FinalMove, std::string(cursor.next())};
    if (keyword == "uciok") return {EngineEventKind::UciOk, {}};
    if (keyword == "readyok") return {EngineEventKind::ReadyOk, {}};
    return {};
}

}  // namespace tarnwick
