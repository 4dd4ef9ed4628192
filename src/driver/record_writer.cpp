#include "driver/record_writer.hpp"

namespace tarnwick {

std::string RecordWriter::open(const std::string& path) {
    path_ = path;
    std::string reason;
    switch (file_.open(path, reason)) {
        case ResultFileOpen::opened:
            return {};
        case ResultFileOpen::inUse:
            return "Result file " + path + " is in use by another run.";
        case ResultFileOpen::failed:
            break;
    }
    return "Cannot write to " + path + ": " + reason;
}

std::string RecordWriter::append(const TestPosition& record) {
    const std::string line = record.toEpd(false) + "\n";
    std::lock_guard lock(lock_);
    std::string reason;
    if (file_.append(line, reason)) return {};
    return "Cannot write to " + path_ + ": " + reason;
}

}  // namespace tarnwick
