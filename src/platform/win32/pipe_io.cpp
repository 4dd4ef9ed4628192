#include "platform/pipe_io.hpp"

#include <windows.h>

#include <algorithm>

namespace tarnwick {

namespace {

HANDLE handleOf(PipeHandle pipe) {
    return reinterpret_cast<HANDLE>(pipe);
}

}  // namespace

std::size_t readSome(PipeHandle pipe, std::span<char> buffer) {
    if (pipe == kNoPipe || buffer.empty()) return 0;
    DWORD n = 0;
    const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(buffer.size(), 1u << 30));
    // ERROR_BROKEN_PIPE and ERROR_HANDLE_EOF are the end of the pipe; no other error is cured
    // by trying again either.
    if (!ReadFile(handleOf(pipe), buffer.data(), wanted, &n, nullptr)) return 0;
    return n;
}

bool writeAll(PipeHandle pipe, std::string_view bytes) {
    if (pipe == kNoPipe) return false;
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!WriteFile(handleOf(pipe), bytes.data(), chunk, &written, nullptr)) return false;
        bytes.remove_prefix(written);
    }
    return true;
}

void closePipe(PipeHandle& pipe) {
    if (pipe == kNoPipe) return;
    CloseHandle(handleOf(pipe));
    pipe = kNoPipe;
}

PipePair makePipe() {
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    // No security attributes: neither end is inherited unless made so on purpose.
    if (!CreatePipe(&readEnd, &writeEnd, nullptr, 0)) return {};
    return {reinterpret_cast<PipeHandle>(readEnd), reinterpret_cast<PipeHandle>(writeEnd)};
}

PipeHandle duplicatePipe(PipeHandle pipe) {
    if (pipe == kNoPipe) return kNoPipe;
    HANDLE copy = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), handleOf(pipe), GetCurrentProcess(), &copy, 0, FALSE,
                         DUPLICATE_SAME_ACCESS)) {
        return kNoPipe;
    }
    return reinterpret_cast<PipeHandle>(copy);
}

}  // namespace tarnwick
