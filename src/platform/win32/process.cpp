#include "platform/process.hpp"

#include <windows.h>

#include <map>
#include <mutex>

#include "platform/pipe_io.hpp"

namespace tarnwick {

namespace {

// The system's handles of a started child: the process, and a job that ends the child and
// everything it started when the tester ends, however it ends.
struct ChildHandles {
    HANDLE process = nullptr;
    HANDLE job = nullptr;
};

// Windows names a child by handle, the interface by id: the handles are kept here from the
// start until the child is reaped.
class ChildTable {
  public:
    void add(ProcessId id, ChildHandles handles) {
        std::lock_guard lock(mutex_);
        children_[id] = handles;
    }
    ChildHandles find(ProcessId id) {
        std::lock_guard lock(mutex_);
        const auto found = children_.find(id);
        return found == children_.end() ? ChildHandles{} : found->second;
    }
    void remove(ProcessId id) {
        std::lock_guard lock(mutex_);
        const auto found = children_.find(id);
        if (found == children_.end()) return;
        CloseHandle(found->second.process);
        if (found->second.job != nullptr) CloseHandle(found->second.job);
        children_.erase(found);
    }

  private:
    std::mutex mutex_;
    std::map<ProcessId, ChildHandles> children_;
};

ChildTable& children() {
    static ChildTable table;
    return table;
}

std::string fullPathName(const std::string& path) {
    const DWORD needed = GetFullPathNameA(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return {};
    std::string full(needed, '\0');
    const DWORD length = GetFullPathNameA(path.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed) return {};
    full.resize(length);
    return full;
}

bool endsWithExe(const std::string& path) {
    if (path.size() < 4) return false;
    const std::string tail = path.substr(path.size() - 4);
    return CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, tail.c_str(), 4, ".exe", 4) ==
           CSTR_EQUAL;
}

HANDLE killOnCloseJob() {
    const HANDLE job = CreateJobObjectA(nullptr, nullptr);
    if (job == nullptr) return nullptr;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof(limits));
    return job;
}

ExitStatus exitStatusOf(HANDLE process) {
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    ExitStatus status;
    status.exited = true;
    status.code = static_cast<int>(code);
    return status;
}

}  // namespace

std::string directoryOf(std::string_view path) {
    const size_t separator = path.find_last_of("\\/:");
    if (separator == std::string_view::npos) return {};
    return std::string(path.substr(0, separator + 1));
}

// The command line may carry arguments and its program may lack ".exe", so the candidate is
// cut back word by word until a file of that name exists.
std::string resolveEngineDirectory(std::string_view commandLine) {
    std::string candidate = fullPathName(std::string(commandLine));
    if (candidate.empty()) return {};
    for (;;) {
        std::string file = candidate;
        if (!endsWithExe(file)) file += ".exe";
        if (GetFileAttributesA(file.c_str()) != INVALID_FILE_ATTRIBUTES) {
            const std::string full = fullPathName(file);
            if (full.empty()) return {};
            return directoryOf(full);
        }
        // The last byte of value 32 or less read as signed: a blank, a control character or
        // any byte of 128 or more.
        size_t cut = candidate.size();
        while (cut > 0 && static_cast<signed char>(candidate[cut - 1]) > 32) --cut;
        if (cut <= 1) return {};
        candidate.resize(cut - 1);
    }
}

std::string resolveProgram(std::string_view commandLine) {
    return resolveEngineDirectory(commandLine);
}

SpawnedProcess spawnProcess(std::string_view commandLine) {
    const PipePair toChild = makePipe();
    const PipePair fromChild = makePipe();
    auto closeAll = [&] {
        PipeHandle handles[] = {toChild.readEnd, toChild.writeEnd, fromChild.readEnd,
                                fromChild.writeEnd};
        for (PipeHandle& handle : handles) closePipe(handle);
    };
    if (toChild.readEnd == kNoPipe || fromChild.readEnd == kNoPipe) {
        closeAll();
        return {};
    }
    // Only the child's own ends are inherited; the tester's ends stay its own.
    const HANDLE childInput = reinterpret_cast<HANDLE>(toChild.readEnd);
    const HANDLE childOutput = reinterpret_cast<HANDLE>(fromChild.writeEnd);
    SetHandleInformation(childInput, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    SetHandleInformation(childOutput, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);

    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = childInput;
    startup.hStdOutput = childOutput;
    startup.hStdError = childOutput;
    PROCESS_INFORMATION info{};
    std::string command(commandLine);  // CreateProcessA may write into its command line
    const std::string directory = resolveEngineDirectory(commandLine);
    const DWORD flags = GetPriorityClass(GetCurrentProcess()) | DETACHED_PROCESS |
                        CREATE_NEW_PROCESS_GROUP | CREATE_SUSPENDED;
    const BOOL created =
        CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, flags, nullptr,
                       directory.empty() ? nullptr : directory.c_str(), &startup, &info);
    PipeHandle childIn = toChild.readEnd;
    PipeHandle childOut = fromChild.writeEnd;
    closePipe(childIn);
    closePipe(childOut);
    if (!created) {
        PipeHandle rest[] = {toChild.writeEnd, fromChild.readEnd};
        for (PipeHandle& handle : rest) closePipe(handle);
        return {};
    }
    // In the job before it runs, so nothing it starts escapes the job.
    const HANDLE job = killOnCloseJob();
    if (job != nullptr) AssignProcessToJobObject(job, info.hProcess);
    SetThreadPriority(info.hThread, GetThreadPriority(GetCurrentThread()));
    ResumeThread(info.hThread);
    CloseHandle(info.hThread);
    const ProcessId id = info.dwProcessId;
    children().add(id, {info.hProcess, job});
    return {id, toChild.writeEnd, fromChild.readEnd};
}

std::optional<ExitStatus> waitForExit(ProcessId id, std::chrono::milliseconds timeout) {
    const ChildHandles child = children().find(id);
    if (child.process == nullptr) return ExitStatus{};
    const DWORD wait = WaitForSingleObject(child.process, static_cast<DWORD>(timeout.count()));
    if (wait == WAIT_TIMEOUT) return std::nullopt;
    const ExitStatus status = exitStatusOf(child.process);
    children().remove(id);
    return status;
}

ExitStatus reapProcess(ProcessId id) {
    const ChildHandles child = children().find(id);
    if (child.process == nullptr) return {};
    WaitForSingleObject(child.process, INFINITE);
    const ExitStatus status = exitStatusOf(child.process);
    children().remove(id);
    return status;
}

// A detached child has no console to send an event to: both signals end its whole job.
void signalProcessGroup(ProcessId id, ProcessSignal) {
    const ChildHandles child = children().find(id);
    if (child.job != nullptr) {
        TerminateJobObject(child.job, 1);
    } else if (child.process != nullptr) {
        TerminateProcess(child.process, 1);
    }
}

}  // namespace tarnwick
