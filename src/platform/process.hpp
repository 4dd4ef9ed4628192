#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/handles.hpp"

namespace tarnwick {

// Cuts a command line into words the way a POSIX shell quotes: blanks separate words,
// single quotes keep everything, double quotes keep everything but backslash escapes of
// $ ` " \ and newline, a backslash outside quotes keeps the next character. Nothing is
// expanded; an unterminated quote runs to the end.
std::vector<std::string> splitCommandLine(std::string_view commandLine);

// The absolute path of the program that would run for name, found the way execvp does: a
// name with a "/" is a path (made absolute against currentDirectory), any other name is
// looked up in the ":"-separated directories of searchPath (an empty entry is the current
// directory). Empty when no executable file is found.
std::string findProgram(std::string_view name, std::string_view searchPath,
                        std::string_view currentDirectory);

// The directory part of an absolute path, with its trailing "/"; empty when there is none.
std::string directoryOf(std::string_view path);

// The absolute path of the program that a command line runs, searched with this process's
// PATH and current directory; empty when there is no such executable.
std::string resolveProgram(std::string_view commandLine);

// The directory, with its trailing "/", of the executable that a command line runs; empty
// when that executable cannot be found.
std::string resolveEngineDirectory(std::string_view commandLine);

// A started child and the parent's ends of its pipes.
struct SpawnedProcess {
    ProcessId id = 0;
    PipeHandle toChild = kNoPipe;    // the child's standard input
    PipeHandle fromChild = kNoPipe;  // the child's standard output and standard error
};

// Starts the program of a command line directly (no shell) in its executable's directory,
// in a session of its own so that terminal signals stay with the parent, with nothing
// inherited but its three standard handles. An id of 0 when the program cannot be found or
// executed or a pipe cannot be made; no handle is left open then.
SpawnedProcess spawnProcess(std::string_view commandLine);

// How a child ended.
struct ExitStatus {
    bool exited = false;  // true: ended by exit with code; false: killed by signal
    int code = 0;
    int signal = 0;
};

// Waits up to timeout for the child to end and reaps it; nullopt when it still runs.
std::optional<ExitStatus> waitForExit(ProcessId id, std::chrono::milliseconds timeout);

// Waits, without limit, until the child has ended and reaps it.
ExitStatus reapProcess(ProcessId id);

enum class ProcessSignal { terminate, kill };

// Sends the signal to every process of the child's process group.
void signalProcessGroup(ProcessId id, ProcessSignal signal);

}  // namespace tarnwick
