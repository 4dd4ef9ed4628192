#pragma once

#include <mutex>
#include <string>
#include <string_view>

#include "platform/result_file.hpp"

namespace tarnwick {

// A file of whole lines that a run keeps open and locked, like the result file, and that its
// engines append to one line at a time; each line reaches the disk as it is written.
class SharedLineFile {
  public:
    // Opens and locks the file; "" or the message to print. kind names the file in the message
    // of a file another run holds ("Result file", "JSON file").
    std::string open(const std::string& path, std::string_view kind);
    // Appends the line and its line end; "" or "Cannot write to <file>: <reason>".
    std::string append(std::string_view line);
    bool isOpen() const { return file_.isOpen(); }

  private:
    std::mutex lock_;
    std::string path_;
    ResultFile file_;
};

}  // namespace tarnwick
