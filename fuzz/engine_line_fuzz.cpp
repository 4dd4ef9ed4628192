// Engine output, through either protocol, into the solution watch on a fixed position: no crash
// or hang, one record at most, and a stored variation is always SAN of legal moves.
#include <variant>

#include "chess/movegen.hpp"
#include "engine/protocol_choice.hpp"
#include "fuzz_support.hpp"
#include "scoring/watch.hpp"

using namespace tarnwick;
using tarnwick::fuzz::require;

namespace {

constexpr std::string_view kRecord =
    "r1bqkb1r/pppp1ppp/2n2n2/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR w KQkq - bm Qxf7#; am Qxe5+; "
    "c1 \"10\"; id \"fuzz\";";

// Every word of the variation is a legal move, played in turn from the record's position.
void requireLegalVariation(const std::string& pv) {
    Board board;
    TestPosition record;
    record.parseEpd(kRecord);
    board.setFromFen(record.fenText());
    size_t at = 0;
    while (at < pv.size()) {
        const size_t end = std::min(pv.find(' ', at), pv.size());
        Move move = board.parseMove(std::string_view(pv).substr(at, end - at));
        require(move.parseStatus == ParseFound && move.isValid(), "pv holds an unreadable move");
        require(playMove(board, move, true), "pv holds an illegal move");
        at = end + 1;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    EngineSettings settings;
    settings.protocol = (data[0] & 1) != 0 ? ProtocolKind::uci : ProtocolKind::xboard;
    const std::unique_ptr<Protocol> protocol = makeProtocol(settings);
    std::string_view text = fuzz::textOf(data + 1, size - 1);
    TestPosition entry;
    entry.parseEpd(kRecord);
    WatchState watch;
    installPosition(watch, entry, 100);
    std::vector<ScoredRecord> results;
    while (!text.empty()) {
        const size_t end = std::min(text.find('\n'), text.size());
        const EngineEvent event = protocol->read(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
        if (const auto* line = std::get_if<AnalysisLine>(&event)) onAnalysisLine(watch, *line);
        if (const auto* best = std::get_if<BestMove>(&event)) {
            if (std::optional<FinalMove> final = onFinalMove(watch, best->move)) {
                results.push_back(std::move(final->result));
            }
        }
    }
    require(results.size() <= 1, "one search ended more than once");
    for (const ScoredRecord& scored : results) requireLegalVariation(scored.record.pv);
    return 0;
}
