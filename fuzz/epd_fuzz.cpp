// Any line reads as a record, and a record written and read again is the same record: the same
// fields, and the same line when written once more.
#include <variant>

#include "epd/epd_opcodes.hpp"
#include "epd/test_position.hpp"
#include "fuzz_support.hpp"

using namespace tarnwick;
using tarnwick::fuzz::require;

namespace {

// The record as its analysis-free form keeps it.
TestPosition withoutAnalysis(TestPosition record) {
    for (const EpdOpcode& opcode : kEpdOpcodes) {
        if (!opcode.analysis) continue;
        std::visit([&](auto member) { record.*member = {}; }, opcode.field);
    }
    return record;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view line = fuzz::textOf(data, size);
    for (const bool omitAnalysis : {false, true}) {
        TestPosition first;
        first.parseEpd(line);
        const std::string written = first.toEpd(omitAnalysis);
        TestPosition second;
        second.parseEpd(written);
        require(second == (omitAnalysis ? withoutAnalysis(first) : first),
                "a written record reads back as another record");
        require(second.toEpd(omitAnalysis) == written, "a written record reads back differently");
        require(first.comparePosition(second) == 0 || first.isEmpty(),
                "a record's position changed when written and read again");
    }
    return 0;
}
