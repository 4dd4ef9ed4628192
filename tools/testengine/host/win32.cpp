#include <windows.h>

#include <string>

#include "testengine/host.hpp"

namespace tarnwick::testengine {

PipeHandle standardInput() {
    return reinterpret_cast<PipeHandle>(GetStdHandle(STD_INPUT_HANDLE));
}

PipeHandle standardOutput() {
    return reinterpret_cast<PipeHandle>(GetStdHandle(STD_OUTPUT_HANDLE));
}

PipeHandle standardError() {
    return reinterpret_cast<PipeHandle>(GetStdHandle(STD_ERROR_HANDLE));
}

std::string currentDirectory() {
    const DWORD needed = GetCurrentDirectoryA(0, nullptr);
    std::string directory(needed, '\0');
    const DWORD length = GetCurrentDirectoryA(needed, directory.data());
    directory.resize(length < needed ? length : 0);
    return directory;
}

std::string openDescriptors() {
    return "fds unknown";
}

unsigned long processId() {
    return GetCurrentProcessId();
}

void crash() {
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    TerminateProcess(GetCurrentProcess(), 3);
    ExitProcess(3);
}

void closeStandardOutput() {
    CloseHandle(GetStdHandle(STD_OUTPUT_HANDLE));
    CloseHandle(GetStdHandle(STD_ERROR_HANDLE));
}

// Termination cannot be refused on Windows, and a failed pipe write is only an error there.
void ignoreTerminate() {}
void ignoreBrokenPipe() {}

void waitForever() {
    for (;;) Sleep(INFINITE);
}

}  // namespace tarnwick::testengine
