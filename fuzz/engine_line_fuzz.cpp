// Engine output, through either protocol's parser, into the solution watch on a fixed
// position: no crash or hang, and a stored variation is always SAN of legal moves.
#include "chess/movegen.hpp"
#include "engine/uci_protocol.hpp"
#include "engine/xboard_protocol.hpp"
#include "fuzz_support.hpp"
#include "run/engine_lines.hpp"

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
    const bool uci = (data[0] & 1) != 0;
    std::string_view text = fuzz::textOf(data + 1, size - 1);
    RunState run(RunSettings{}, ConsoleOutput::capture(true));
    TestPosition entry;
    entry.parseEpd(kRecord);
    installPosition(run.watch, entry);
    run.watch.searchInProgress = true;
    int searchesEnded = 0;
    while (!text.empty()) {
        const size_t end = std::min(text.find('\n'), text.size());
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        onEngineEvent(run, uci ? parseUciLine(line) : parseWinboardLine(line));
        if (run.searchEnded.wait(std::chrono::milliseconds(0))) ++searchesEnded;
    }
    require(searchesEnded <= 1, "one search ended more than once");
    require(run.watch.resultList.size() == static_cast<size_t>(searchesEnded),
            "results and ended searches disagree");
    for (const ScoredRecord& scored : run.watch.resultList) requireLegalVariation(scored.record.pv);
    return 0;
}
