// Any line reads as a record, and writing a record and reading it again changes nothing more.
#include "epd/test_position.hpp"
#include "fuzz_support.hpp"

using namespace tarnwick;
using tarnwick::fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view line = fuzz::textOf(data, size);
    for (const bool omitAnalysis : {false, true}) {
        TestPosition first;
        first.parseEpd(line);
        const std::string written = first.toEpd(omitAnalysis);
        TestPosition second;
        second.parseEpd(written);
        require(second.toEpd(omitAnalysis) == written, "a written record reads back differently");
        require(first.comparePosition(second) == 0 || first.isEmpty(),
                "a record's position changed when written and read again");
    }
    return 0;
}
