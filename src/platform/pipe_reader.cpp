#include "platform/pipe_reader.hpp"

#include "platform/pipe_io.hpp"

namespace tarnwick {

PipeReader::~PipeReader() {
    closePipe(source_);
    closePipe(wakeRead_);
    closePipe(wakeWrite_);
}

bool PipeReader::valid() const {
    return source_ != kNoPipe && wakeRead_ != kNoPipe;
}

}  // namespace tarnwick
