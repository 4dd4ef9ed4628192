#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/handles.hpp"

namespace tarnwick {

// The directory part of a path, with its trailing separator ("/" on POSIX; "\\", "/" or the
// drive's ":" on Windows); empty when there is none.
std::string directoryOf(std::string_view path);

// The full path of the program file that a command line runs, searched from this process's
// current directory; empty when there is no such file. POSIX takes the first word, quoted as
// a shell quotes, and searches PATH the way execvp does. Windows takes the longest run of
// leading words, as they stand, that names a file, with ".exe" added when it is missing.
std::string resolveProgram(std::string_view commandLine);

// The directory, with its trailing separator, of the program that a command line runs; the
// engine is started there. Empty when that program cannot be found.
std::string resolveEngineDirectory(std::string_view commandLine);

// A started child and the parent's ends of its pipes.
struct SpawnedProcess {
    ProcessId id;
    PipeHandle toChild = kNoPipe;    // the child's standard input
    PipeHandle fromChild = kNoPipe;  // the child's standard output and standard error
    std::string error;               // why it could not be started, when id is 0
};

// Starts the program of a command line directly (no shell) in its executable's directory,
// out of reach of the console's Ctrl+C (POSIX: in a session of its own; Windows: without a
// console). POSIX closes every descriptor of the child's but its three standard ones; Windows
// passes on only handles marked inheritable, which this layer makes none but the child's own
// pipe ends. An id of 0, with the reason in the system's words, when the program cannot be
// found or executed or a pipe cannot be made; no handle is left open then.
SpawnedProcess spawnProcess(std::string_view commandLine);

// How a child ended.
struct ExitStatus {
    // true: ended by exit with code; false: killed by signal. Windows knows no signals: a
    // terminated child has exited too, with the code it was given.
    bool exited = false;
    int code = 0;
    int signal = 0;
};

// Waits up to timeout (nullopt: without limit) for the child to end, and leaves it unreaped, so
// that its id still names it and signalling it stays safe; false when it still runs. True too
// for an id that is no child of this process (any more).
bool awaitExit(ProcessId id, std::optional<std::chrono::milliseconds> timeout);

// Waits, without limit, until the child has ended and reaps it. Once a child is reaped, its id
// names it no more.
ExitStatus reapProcess(ProcessId id);

enum class ProcessSignal { terminate, kill };

// Ends the child and what it started: POSIX sends the signal to every process of the child's
// process group; Windows terminates the child's job (or the child alone when it has none).
void signalProcessGroup(ProcessId id, ProcessSignal signal);

// Hands the child the console's interrupt, as Ctrl+C in its terminal would: SIGINT on POSIX;
// on Windows its console control handlers run, given CTRL_BREAK_EVENT. False when it cannot
// be sent.
bool interruptProcess(ProcessId id);

}  // namespace tarnwick
