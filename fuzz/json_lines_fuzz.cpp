// Every record, whatever bytes its texts hold, gives JSON lines that read back, and the summary
// of any result list does too.
#include <nlohmann/json.hpp>

#include "fuzz_support.hpp"
#include "report/json_lines.hpp"
#include "report/report.hpp"
#include "scoring/position_scorer.hpp"

using namespace tarnwick;
using tarnwick::fuzz::require;

namespace {

bool readsBack(const std::string& line) {
    if (line.find('\n') != std::string::npos) return false;
    try {
        return nlohmann::json::parse(line).is_object();
    } catch (const nlohmann::json::exception&) {
        return false;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text = fuzz::textOf(data, size);
    // The input as an EPD line, and its raw bytes in the texts a line could not give.
    TestPosition record;
    record.parseEpd(text.substr(0, text.find('\n')));
    const size_t half = text.size() / 2;
    TestPosition raw = record;
    raw.id.assign(text.substr(0, half));
    raw.pm.assign(text.substr(half));
    raw.pv.assign(text);
    raw.acs = size > 0 ? static_cast<int32_t>(data[0]) - 1 : -1;
    const auto outcome = static_cast<RecordOutcome>(size % 4);
    for (const TestPosition& r : {record, raw}) {
        require(readsBack(positionJson(scoreRecord(r), outcome, static_cast<int32_t>(size))),
                "a position's line is not one valid JSON object");
    }
    const ReportSettings settings;
    const std::vector<TestPosition> results = {record, raw};
    RunFacts facts;
    facts.engine = text;
    facts.engineSetup = {std::string(text)};
    require(readsBack(summaryJson(computeTotals(scoreRecords(results), settings), settings, facts,
                                  nlohmann::json::object())),
            "the summary is not one valid JSON object");
    return 0;
}
