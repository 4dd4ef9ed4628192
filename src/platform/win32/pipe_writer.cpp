#include "platform/pipe_writer.hpp"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <mutex>

#include "platform/pipe_io.hpp"

namespace tarnwick {

// Anonymous pipes know no waiting for room, so a write blocks in WriteFile, and cancel()
// aborts it with CancelSynchronousIo. Later writes put the pipe into PIPE_NOWAIT mode, where
// WriteFile takes what fits and returns at once. The mode is switched by the writing thread,
// between writes: a synchronous handle does one operation at a time, so switching it under a
// blocked write would wait for that write.
struct PipeWriter::State {
    PipeHandle pipe = kNoPipe;
    std::atomic<bool> cancelled{false};
    bool noWait = false;  // the writing thread's alone, as is broken
    bool broken = false;
    std::mutex writerMutex;  // held to set, clear and use writerThread, never during WriteFile
    HANDLE writerThread = nullptr;

    HANDLE handle() const { return reinterpret_cast<HANDLE>(pipe); }

    void setWriter(HANDLE thread) {
        std::lock_guard lock(writerMutex);
        writerThread = thread;
    }

    // Writes bytes in one or more WriteFile calls. With noWait, false when they do not fit;
    // otherwise false only when the pipe is broken or the write is cancelled.
    bool writeAll(std::string_view bytes) {
        bool started = false;
        while (!bytes.empty()) {
            // A cancel that came after the last look at the flag aborts the WriteFile instead.
            if (cancelled && !noWait) {
                broken = started;
                return false;
            }
            const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
            DWORD written = 0;
            const BOOL done = WriteFile(handle(), bytes.data(), chunk, &written, nullptr);
            bytes.remove_prefix(written);
            started = started || written > 0;
            if (!done || written == 0) {
                // An aborted write may have handed part of its bytes to the reader already.
                broken = started || (!done && GetLastError() == ERROR_OPERATION_ABORTED);
                return false;
            }
        }
        return true;
    }
};

PipeWriter::PipeWriter(PipeHandle pipe) : state_(std::make_unique<State>()) {
    state_->pipe = pipe;
}

PipeWriter::~PipeWriter() {
    closePipe(state_->pipe);
}

bool PipeWriter::write(std::string_view bytes) {
    State& s = *state_;
    if (s.pipe == kNoPipe || s.broken) return false;
    if (s.cancelled && !s.noWait) {
        DWORD mode = PIPE_READMODE_BYTE | PIPE_NOWAIT;
        s.noWait = SetNamedPipeHandleState(s.handle(), &mode, nullptr, nullptr);
        if (!s.noWait) return false;
    }
    // CancelSynchronousIo needs a handle of this thread that works from the canceller's.
    HANDLE self = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &self, 0,
                         FALSE, DUPLICATE_SAME_ACCESS)) {
        self = nullptr;
    }
    s.setWriter(self);
    const bool written = s.writeAll(bytes);
    s.setWriter(nullptr);
    if (self != nullptr) CloseHandle(self);
    return written;
}

void PipeWriter::cancel() {
    State& s = *state_;
    s.cancelled = true;
    // The writer may be past its look at the flag but not yet in WriteFile, where there is
    // nothing to cancel (ERROR_NOT_FOUND): try again until a WriteFile is aborted or the write
    // has ended.
    for (;;) {
        {
            std::lock_guard lock(s.writerMutex);
            if (s.writerThread == nullptr || CancelSynchronousIo(s.writerThread) ||
                GetLastError() != ERROR_NOT_FOUND) {
                return;
            }
        }
        SwitchToThread();
    }
}

}  // namespace tarnwick
