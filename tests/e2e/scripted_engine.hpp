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

// A suite of n distinct positions (up to 25) with ids "p1" .. "pn", so that resuming sets
// aside exactly the tested ones.
inline std::string numberedSuite(int n) {
    const char* walks[] = {"4k3/8/8/8/8/8/8/", "3k4/8/8/8/8/8/8/", "2k5/8/8/8/8/8/8/",
                           "1k6/8/8/8/8/8/8/", "k7/8/8/8/8/8/8/"};
    const char* kings[] = {"K7", "1K6", "2K5", "3K4", "5K2"};
    std::string text;
    for (int i = 0; i < n; ++i) {
        text += std::string(walks[i % 5]) + kings[(i / 5) % 5] + " w - - bm Kb2 Kd2; id \"p" +
                std::to_string(i + 1) + "\";\n";
    }
    return text;
}

}  // namespace tarnwick::e2e
