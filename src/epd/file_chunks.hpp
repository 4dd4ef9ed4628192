#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick {

// A file read from its start in pieces of at most 64 KiB. Its first bytes may be looked at
// before the reading starts, which works on a pipe as well: they are handed out again.
class FileChunks {
  public:
    explicit FileChunks(const std::string& fileName);

    bool isOpen() const { return file_ != nullptr; }

    // Up to n first bytes of the file, without taking them; only before the first next().
    std::string_view peek(std::size_t n);

    // The next piece of the file, valid until the next call; empty at its end.
    std::string_view next();

    // Back to the start of a file with a size; false, with nothing changed, for a pipe or a
    // device, which cannot be read twice.
    bool restart();

  private:
    struct Closer {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };

    std::unique_ptr<std::FILE, Closer> file_;
    bool hasSize_ = false;
    std::string peeked_;
    bool peekedPending_ = false;  // peeked_ is still to be handed out by next()
    std::vector<char> buffer_;
};

}  // namespace tarnwick
