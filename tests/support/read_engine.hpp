#pragma once

#include <string>
#include <string_view>

#include "engine/engine_process.hpp"
#include "engine/line_reader.hpp"
#include "platform/system.hpp"
#include "support/child_engine.hpp"
#include "support/test_paths.hpp"

namespace tarnwick::testing {

// An engine started as a real child, with a reader handing its lines to a collector.
struct ReadEngine {
#ifdef HAVE_TEST_ENGINE
    // Starts the test engine with the script.
    ReadEngine(std::string_view script, LineCollector& collector, StopGraces graces = {})
        : ReadEngine(collector, graces, testEngineCommand(script)) {}
#endif

    // Starts the engine of the command line.
    ReadEngine(LineCollector& collector, StopGraces graces, const std::string& commandLine)
        : engine(graces) {
        ignoreBrokenPipeSignal();
        id = engine.start(commandLine);
        reader.setInput(engine.fromEngine());
        reader.setHandler(&LineCollector::collect, &collector);
        started = reader.start();
    }

    EngineProcess engine;
    LineReader reader;
    ProcessId id;
    bool started = false;
};

}  // namespace tarnwick::testing
