#pragma once

#include <string>
#include <string_view>

#include "epd/test_position.hpp"
#include "platform/output_file.hpp"

namespace tarnwick {

// The solved and unsolved EPD files, rewritten by every report. A file whose name is empty is
// not written. Each call returns "" or the message of a failure, "Cannot write to <file>:
// <reason>"; a file that failed once is written no further, and the other goes on.
class OutcomeFiles {
  public:
    // Creates or truncates both named files.
    std::string open(const std::string& solvedFile, const std::string& unsolvedFile);
    // Appends the record, without its analysis, to the file of its outcome.
    std::string write(const TestPosition& record, bool solved);
    // Writes out what is still buffered and closes both files.
    std::string close();

  private:
    struct Target {
        std::string name;
        OutputFile file;
    };

    std::string open(Target& target, const std::string& name);
    std::string closeOne(Target& target);

    Target solved_;
    Target unsolved_;
};

// Creates the file when it is missing, leaving an existing one as it is, so a run learns
// before it starts that a file cannot be written. Returns "" (also for an empty name) or
// "Cannot write to <file>: <reason>".
std::string checkCanCreate(const std::string& path);

// Creates or truncates the file and writes the text as its whole content. Returns "" or
// "Cannot write to <file>: <reason>".
std::string writeWholeFile(const std::string& path, std::string_view text);

}  // namespace tarnwick
