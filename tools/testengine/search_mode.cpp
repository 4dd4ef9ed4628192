#include "testengine/search_mode.hpp"

#include <array>
#include <memory>
#include <string>

#include "platform/pipe_io.hpp"
#include "testengine/host.hpp"
#include "testengine/session.hpp"
#include "text/text.hpp"

namespace tarnwick::testengine {

namespace {

// The protocol is chosen by the first command that names one; lines before it are dropped.
std::unique_ptr<Session> sessionFor(std::string_view line, Output& out) {
    const std::string word = nthToken(line, 1);
    if (word == "uci") return std::make_unique<UciSession>(out);
    if (word == "xboard" || word == "protover") return std::make_unique<XboardSession>(out);
    return nullptr;
}

}  // namespace

int runSearchEngine() {
    // A tester that goes away must not kill the engine in the middle of a write.
    ignoreBrokenPipe();
    Output out;
    std::unique_ptr<Session> session;
    std::string pending;
    std::array<char, 8192> buffer;
    for (;;) {
        const std::size_t n = readSome(standardInput(), buffer);
        if (n == 0) break;
        for (char c : std::string_view(buffer.data(), n)) {
            if (c != '\n') {
                pending += c;
                continue;
            }
            const std::string line = trimmed(pending);
            pending.clear();
            if (session == nullptr) session = sessionFor(line, out);
            if (session == nullptr) {
                if (nthToken(line, 1) == "quit") return 0;
                continue;
            }
            if (!session->handle(line)) return 0;
        }
    }
    return 0;
}

}  // namespace tarnwick::testengine
