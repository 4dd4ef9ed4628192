#pragma once

#include <string>
#include <vector>

#include "e2e/harness.hpp"

namespace tarnwick::e2e {

// The words that start the scripted test engine with a script and a log of what it receives;
// both files live in the folder (the engine runs in its own directory, so paths are absolute).
inline std::vector<std::string> scriptedEngine(const TempDir& dir, const std::string& script,
                                               const std::string& name = "engine") {
    writeFile(dir / (name + ".script"), script);
    return {TEST_ENGINE_BINARY, "--script", (dir / (name + ".script")).string(), "--log",
            (dir / (name + ".log")).string()};
}

inline std::vector<std::string> concat(std::vector<std::string> a,
                                       const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A UCI engine that answers the handshake and, for every search, prints the given lines and
// then its move once asked to stop.
inline std::string uciScript(const std::string& onGo) {
    return "on uci: print id name scripted; print uciok\n"
           "on isready: print readyok\n"
           "on go: " +
           onGo + "\n";
}

}  // namespace tarnwick::e2e
