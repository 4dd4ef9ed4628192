#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#ifndef _WIN32
#include <unistd.h>
#endif

// Folders and files that tests make and read.
namespace tarnwick::testing {

// A fresh empty folder under the temporary directory, removed with everything in it at the
// end of the test. The name tells whose folder it is in a listing.
class TempDirectory {
  public:
    explicit TempDirectory(const std::string& name = "test") {
        const std::filesystem::path base =
            std::filesystem::temp_directory_path() / ("tarnwick-" + name + "-");
#ifdef _WIN32
        for (unsigned n = static_cast<unsigned>(std::rand()); path_.empty(); ++n) {
            const std::filesystem::path candidate = base.string() + std::to_string(n);
            std::error_code error;
            if (std::filesystem::create_directory(candidate, error)) path_ = candidate;
            if (error) break;
        }
#else
        std::string pattern = base.string() + "XXXXXX";
        if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
#endif
    }
    ~TempDirectory() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;

    const std::filesystem::path& path() const {
        return path_;
    }
    std::filesystem::path operator/(const std::string& name) const {
        return path_ / name;
    }

  private:
    std::filesystem::path path_;
};

inline std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline void writeFile(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// Lines of a text file, without line ends.
inline std::vector<std::string> readLines(const std::filesystem::path& path) {
    std::vector<std::string> lines;
    std::ifstream in(path, std::ios::binary);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

}  // namespace tarnwick::testing
