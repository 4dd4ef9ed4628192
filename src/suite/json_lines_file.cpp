#include "suite/json_lines_file.hpp"

namespace tarnwick {

std::string JsonLinesFile::open(const std::string& path) {
    path_ = path;
    std::string reason;
    switch (file_.open(path, reason)) {
        case ResultFileOpen::opened:
            return {};
        case ResultFileOpen::inUse:
            return "JSON file " + path + " is in use by another run.";
        case ResultFileOpen::failed:
            break;
    }
    return "Cannot write to " + path + ": " + reason;
}

std::string JsonLinesFile::append(const std::string& line) {
    const std::string text = line + "\n";
    std::lock_guard lock(lock_);
    std::string reason;
    if (file_.append(text, reason)) return {};
    return "Cannot write to " + path_ + ": " + reason;
}

}  // namespace tarnwick
