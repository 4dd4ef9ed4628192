#pragma once

#include <cstdint>

namespace tarnwick {

// One end of a pipe: a file descriptor on POSIX; wide enough for a Windows HANDLE value.
using PipeHandle = std::intptr_t;
inline constexpr PipeHandle kNoPipe = -1;

// A started child process. POSIX names it by its id alone; Windows by the handles of the
// process and of the job that holds it, which it carries along (0 on POSIX). Copies name the
// same child; reaping it closes those handles, so no copy is used after that. A default one,
// of id 0, stands for no process.
class ProcessId {
  public:
    constexpr ProcessId() = default;
    constexpr explicit ProcessId(std::uint32_t number, std::intptr_t process = 0,
                                 std::intptr_t job = 0)
        : number_(number), process_(process), job_(job) {}

    // The system's number for the process, as tools show it.
    constexpr std::uint32_t number() const { return number_; }
    constexpr std::intptr_t processHandle() const { return process_; }
    constexpr std::intptr_t jobHandle() const { return job_; }

    // The number alone tells children apart; `id == 0` asks whether there is none.
    friend constexpr bool operator==(ProcessId a, ProcessId b) { return a.number_ == b.number_; }
    friend constexpr bool operator==(ProcessId a, std::uint32_t number) {
        return a.number_ == number;
    }

  private:
    std::uint32_t number_ = 0;
    std::intptr_t process_ = 0;
    std::intptr_t job_ = 0;
};

}  // namespace tarnwick
