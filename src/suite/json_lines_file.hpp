#pragma once

#include <mutex>
#include <string>

#include "platform/result_file.hpp"

namespace tarnwick {

// The JSON Lines file of a run: opened for appending and locked like the result file, so that
// several runs add to one file in turn, and each line reaches the disk as it is written. The
// run's engines share it, a whole line at a time.
class JsonLinesFile {
  public:
    // "" when the file is open, else why not.
    std::string open(const std::string& path);
    // Appends one line; "" or "Cannot write to <file>: <reason>".
    std::string append(const std::string& line);
    bool isOpen() const { return file_.isOpen(); }

  private:
    std::mutex lock_;
    std::string path_;
    ResultFile file_;
};

}  // namespace tarnwick
