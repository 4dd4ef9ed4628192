// Engine definition files of any content: read without a crash, and every option becomes one
// whole "setoption" command.
#include <unistd.h>

#include <cstdio>

#include "engine/engine_file.hpp"
#include "fuzz_support.hpp"

using namespace tarnwick;
using tarnwick::fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = "/tmp/tarnwick-fuzz-" + std::to_string(getpid()) + ".eng";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    std::string command = "unchanged";
    std::string options;
    readEngineFile(path, command, options);
    for (size_t at = 0; at < options.size(); at = options.find('\n', at) + 1) {
        require(options.compare(at, 15, "setoption name ") == 0, "an option is not a setoption");
        if (options.find('\n', at) == std::string::npos) break;
    }
    return 0;
}
