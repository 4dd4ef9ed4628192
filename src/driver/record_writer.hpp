#pragma once

#include <mutex>
#include <string>

#include "platform/result_file.hpp"
#include "suite/test_position.hpp"

namespace tarnwick {

// The run's result file, shared by every engine of the run: records are appended one whole
// line at a time, whichever engine finished them.
class RecordWriter {
  public:
    // Opens and locks the result file; "" or the message to print.
    std::string open(const std::string& path);
    bool isOpen() const { return file_.isOpen(); }
    // Appends the record as one line; "" or the message to print.
    std::string append(const TestPosition& record);
    void close() { file_.close(); }

  private:
    std::mutex lock_;
    std::string path_;
    ResultFile file_;
};

}  // namespace tarnwick
