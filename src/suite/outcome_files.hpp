#pragma once

#include <fstream>
#include <string>

#include "suite/test_position.hpp"

namespace tarnwick {

// The solved and unsolved EPD files, rewritten by every report. A name that is empty, or a
// file that cannot be created, is silently not written.
class OutcomeFiles {
  public:
    // Creates or truncates both named files.
    void open(const std::string& solvedFile, const std::string& unsolvedFile);
    // Appends the record, without its analysis, to the file of its outcome.
    void write(const TestPosition& record, bool solved);
    void close();

  private:
    std::ofstream solved_;
    std::ofstream unsolved_;
};

}  // namespace tarnwick
