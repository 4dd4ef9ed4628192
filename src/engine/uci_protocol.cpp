#include "engine/uci_protocol.hpp"

#include <charconv>
#include <iterator>

#include "text/text.hpp"

namespace tarnwick {

namespace {

// Reads "cp N" or "mate N" after "score"; any other kind ("lowerbound", ...) consumes nothing
// more, so what follows is read as keys and skipped.
void readScore(TokenCursor& cursor, Score& score) {
    const std::string_view kind = cursor.next();
    if (kind == "cp") {
        score = {Score::Kind::centipawns, atoiValue(cursor.next()), std::nullopt};
    } else if (kind == "mate") {
        score = {Score::Kind::mate, atoiValue(cursor.next()), std::nullopt};
    }
}

void appendNumber(std::string& text, int32_t number) {
    char digits[12];
    const auto result = std::to_chars(std::begin(digits), std::end(digits), number);
    text.append(digits, result.ptr);
}

}  // namespace

AnalysisLine readSearchInfo(std::string_view keys) {
    AnalysisLine info;
    TokenCursor cursor(keys);
    std::string_view variation;
    for (std::string_view key = cursor.next(); !key.empty(); key = cursor.next()) {
        if (key == "depth") {
            info.depth = atoiValue(cursor.next());
        } else if (key == "time") {
            info.time = atoiValue(cursor.next()) / 10;
        } else if (key == "nodes") {
            info.nodes = atoiValue(cursor.next());
        } else if (key == "score") {
            readScore(cursor, info.score);
        } else if (key == "pv") {
            // The variation runs to the end of the line.
            variation = cursor.rest();
            break;
        }
    }
    if (variation.empty()) return info;
    info.echo.reserve(48 + variation.size());
    appendNumber(info.echo, info.depth);
    info.echo += ' ';
    appendNumber(info.echo, info.score.centipawns());
    info.echo += ' ';
    appendNumber(info.echo, info.time);
    info.echo += ' ';
    appendNumber(info.echo, info.nodes);
    info.variationStart = info.echo.size() + 1;
    forEachToken(variation, [&](std::string_view move) {
        info.echo += ' ';
        info.echo += move;
        return true;
    });
    return info;
}

EngineEvent parseUciLine(std::string_view line) {
    TokenCursor cursor(line);
    const std::string_view keyword = cursor.next();
    EngineEvent event;
    if (keyword == "info") {
        event.analysis = readSearchInfo(cursor.rest());
        if (!event.analysis.variation().empty()) event.kind = EngineEventKind::Analysis;
    } else if (keyword == "bestmove") {
        event.kind = EngineEventKind::FinalMove;
        event.move = cursor.next();
    } else if (keyword == "uciok") {
        event.kind = EngineEventKind::UciOk;
    } else if (keyword == "readyok") {
        event.kind = EngineEventKind::ReadyOk;
    } else if (keyword == "id" && cursor.next() == "name" && !cursor.rest().empty()) {
        event.kind = EngineEventKind::EngineName;
        event.move = cursor.rest();
    }
    return event;
}

}  // namespace tarnwick
