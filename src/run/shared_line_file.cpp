#include "run/shared_line_file.hpp"

namespace tarnwick {

std::string SharedLineFile::open(const std::string& path, std::string_view kind) {
    path_ = path;
    std::string reason;
    switch (file_.open(path, reason)) {
        case ResultFileOpen::opened:
            return {};
        case ResultFileOpen::inUse:
            return std::string(kind) + " " + path + " is in use by another run.";
        case ResultFileOpen::failed:
            break;
    }
    return "Cannot write to " + path + ": " + reason;
}

std::string SharedLineFile::append(std::string_view line) {
    std::string text(line);
    text += '\n';
    std::lock_guard lock(lock_);
    std::string reason;
    if (file_.append(text, reason)) return {};
    return "Cannot write to " + path_ + ": " + reason;
}

}  // namespace tarnwick
