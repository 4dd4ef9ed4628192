#include "platform/pipe_reader.hpp"

#include <windows.h>

#include <algorithm>

#include "platform/pipe_io.hpp"

namespace tarnwick {

namespace {

// How long a read waits for the wake-up event between looks at an empty pipe.
constexpr DWORD kPollMilliseconds = 2;

}  // namespace

// An anonymous pipe cannot be waited on, so the reader looks at it with PeekNamedPipe and
// waits on a wake-up event (kept in wakeRead_) between looks.
PipeReader::PipeReader(PipeHandle source) : source_(duplicatePipe(source)) {
    const HANDLE wake = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (wake != nullptr) wakeRead_ = reinterpret_cast<PipeHandle>(wake);
}

std::size_t PipeReader::read(std::span<char> buffer) {
    if (!valid() || buffer.empty()) return 0;
    const HANDLE wake = reinterpret_cast<HANDLE>(wakeRead_);
    for (;;) {
        if (WaitForSingleObject(wake, 0) == WAIT_OBJECT_0) return 0;
        DWORD available = 0;
        if (!PeekNamedPipe(reinterpret_cast<HANDLE>(source_), nullptr, 0, nullptr, &available,
                           nullptr)) {
            return 0;  // broken pipe: the writer has gone and everything has been read
        }
        if (available > 0) {
            return readSome(source_, buffer.first(std::min<std::size_t>(buffer.size(), available)));
        }
        if (WaitForSingleObject(wake, kPollMilliseconds) == WAIT_OBJECT_0) return 0;
    }
}

void PipeReader::interrupt() {
    if (wakeRead_ != kNoPipe) SetEvent(reinterpret_cast<HANDLE>(wakeRead_));
}

}  // namespace tarnwick
