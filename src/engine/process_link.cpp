#include "engine/process_link.hpp"

namespace tarnwick {

namespace {

bool handOnLine(std::string_view line, void* sink) {
    static_cast<LineSink*>(sink)->onLine(line);
    return true;
}

void handOnOverlong(void* sink) {
    static_cast<LineSink*>(sink)->onOverlongLine();
}

}  // namespace

ProcessLink::~ProcessLink() {
    stop();
}

bool ProcessLink::start(const std::string& command, LineSink& sink, std::string& why) {
    stop();
    if (process_.start(command, &why) == 0) return false;
    reader_.setInput(process_.fromEngine());
    reader_.setHandler(&handOnLine, &sink);
    reader_.setOverlongHandler(&handOnOverlong, &sink);
    writer_.tell(&sink);
    if (!reader_.start()) {
        why = "cannot start the reading thread";
        // It was sent nothing, so it has no cause to end by itself: no grace is waited out.
        process_.kill();
        stop();
        return false;
    }
    return true;
}

void ProcessLink::close(std::string_view lastCommand) {
    process_.cancelWrites();
    writer_.close(lastCommand);
}

void ProcessLink::stop() {
    reader_.stop();
    process_.stop();
    writer_.drop();
}

void ProcessLink::kill() {
    process_.kill();
}

}  // namespace tarnwick
