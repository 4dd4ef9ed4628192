#include "platform/process.hpp"

#include <windows.h>

#include "platform/pipe_io.hpp"
#include "platform/win32/error_text.hpp"

namespace tarnwick {

namespace {

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

HANDLE processOf(ProcessId id) {
    return reinterpret_cast<HANDLE>(id.processHandle());
}

HANDLE jobOf(ProcessId id) {
    return reinterpret_cast<HANDLE>(id.jobHandle());
}

// The child's exit code; its handles are closed, for it has been reaped.
ExitStatus reaped(ProcessId id) {
    DWORD code = 0;
    GetExitCodeProcess(processOf(id), &code);
    CloseHandle(processOf(id));
    if (jobOf(id) != nullptr) CloseHandle(jobOf(id));
    ExitStatus status;
    status.exited = true;
    status.code = static_cast<int>(code);
    return status;
}

// Says which command failed, as the reason of every failed start does.
SpawnedProcess failedSpawn(std::string_view commandLine, DWORD error) {
    SpawnedProcess failed;
    failed.error = std::string(commandLine) + ": " + errorText(error);
    return failed;
}

}  // namespace

std::string directoryOf(std::string_view path) {
    const size_t separator = path.find_last_of("\\/:");
    if (separator == std::string_view::npos) return {};
    return std::string(path.substr(0, separator + 1));
}

// The command line may carry arguments and its program may lack ".exe", so the candidate is
// cut back word by word until a file of that name exists.
std::string resolveProgram(std::string_view commandLine) {
    std::string candidate = fullPathName(std::string(commandLine));
    if (candidate.empty()) return {};
    for (;;) {
        std::string file = candidate;
        if (!endsWithExe(file)) file += ".exe";
        if (GetFileAttributesA(file.c_str()) != INVALID_FILE_ATTRIBUTES) return fullPathName(file);
        // The last byte of value 32 or less read as signed: a blank, a control character or
        // any byte of 128 or more.
        size_t cut = candidate.size();
        while (cut > 0 && static_cast<signed char>(candidate[cut - 1]) > 32) --cut;
        if (cut <= 1) return {};
        candidate.resize(cut - 1);
    }
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
        const DWORD error = GetLastError();
        closeAll();
        return failedSpawn(commandLine, error);
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
    // Without a console the console's Ctrl+C cannot reach the child. No new process group:
    // Wine would then drop every control event for the child, interruptProcess's too.
    const DWORD flags = GetPriorityClass(GetCurrentProcess()) | DETACHED_PROCESS | CREATE_SUSPENDED;
    const BOOL created =
        CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, flags, nullptr,
                       directory.empty() ? nullptr : directory.c_str(), &startup, &info);
    PipeHandle childIn = toChild.readEnd;
    PipeHandle childOut = fromChild.writeEnd;
    closePipe(childIn);
    closePipe(childOut);
    if (!created) {
        const DWORD error = GetLastError();
        PipeHandle rest[] = {toChild.writeEnd, fromChild.readEnd};
        for (PipeHandle& handle : rest) closePipe(handle);
        return failedSpawn(commandLine, error);
    }
    // In the job before it runs, so nothing it starts escapes the job. Where the tester is in
    // a job itself and the system nests none (before Windows 8), the child stays in the
    // tester's job and is ended alone.
    HANDLE job = killOnCloseJob();
    if (job != nullptr && !AssignProcessToJobObject(job, info.hProcess)) {
        CloseHandle(job);
        job = nullptr;
    }
    SetThreadPriority(info.hThread, GetThreadPriority(GetCurrentThread()));
    ResumeThread(info.hThread);
    CloseHandle(info.hThread);
    return {ProcessId(info.dwProcessId, reinterpret_cast<std::intptr_t>(info.hProcess),
                      reinterpret_cast<std::intptr_t>(job)),
            toChild.writeEnd,
            fromChild.readEnd,
            {}};
}

bool awaitExit(ProcessId id, std::optional<std::chrono::milliseconds> timeout) {
    if (processOf(id) == nullptr) return true;
    const DWORD limit = timeout ? static_cast<DWORD>(timeout->count()) : INFINITE;
    return WaitForSingleObject(processOf(id), limit) != WAIT_TIMEOUT;
}

ExitStatus reapProcess(ProcessId id) {
    if (processOf(id) == nullptr) return {};
    WaitForSingleObject(processOf(id), INFINITE);
    return reaped(id);
}

// An interrupt is what the console itself does on Ctrl+Break: a thread in the child that runs
// its control handlers. System DLLs sit at the same address in every process, so this
// process's CtrlRoutine is the child's too.
bool interruptProcess(ProcessId id) {
    if (processOf(id) == nullptr) return false;
    HMODULE module = GetModuleHandleA("kernelbase.dll");
    if (module == nullptr) module = GetModuleHandleA("kernel32.dll");
    FARPROC routine = module != nullptr ? GetProcAddress(module, "CtrlRoutine") : nullptr;
    if (routine == nullptr) return false;
    const HANDLE thread = CreateRemoteThread(
        processOf(id), nullptr, 0,
        reinterpret_cast<LPTHREAD_START_ROUTINE>(reinterpret_cast<void (*)()>(routine)),
        reinterpret_cast<void*>(static_cast<std::uintptr_t>(CTRL_BREAK_EVENT)), 0, nullptr);
    if (thread == nullptr) return false;
    CloseHandle(thread);
    return true;
}

// A detached child has no console to send an event to: both signals end its whole job.
void signalProcessGroup(ProcessId id, ProcessSignal) {
    if (jobOf(id) != nullptr) {
        TerminateJobObject(jobOf(id), 1);
    } else if (processOf(id) != nullptr) {
        TerminateProcess(processOf(id), 1);
    }
}

}  // namespace tarnwick
