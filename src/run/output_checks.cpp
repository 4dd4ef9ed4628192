#include "run/output_checks.hpp"

#include <filesystem>
#include <string_view>
#include <vector>

#include "platform/file_identity.hpp"

namespace tarnwick {

namespace {

// A file of the run, with the option that names it.
struct NamedFile {
    std::string_view option;
    const std::string& name;
};

// A file the run writes, by the option that names it.
struct WrittenFile {
    std::string_view option;
    std::string RunSettings::*name;
};

// Every file the run writes; of two that clash, the later one here is named first.
constexpr WrittenFile kWrittenFiles[] = {
    {"/g", &RunSettings::goodOnlyFile}, {"/w", &RunSettings::notFoundFile},
    {"--json", &RunSettings::jsonFile}, {"--plot", &RunSettings::plotFile},
    {"--log", &RunSettings::logFile},   {"--html", &RunSettings::htmlFile},
    {"--pgn", &RunSettings::pgnFile},
};

// Every file the run reads: the result file too, which it also appends to.
std::vector<NamedFile> readFiles(const RunSettings& settings) {
    std::vector<NamedFile> files = {{"/i", settings.inputFile}, {"/o", settings.resultFile}};
    for (const std::string& name : settings.compareFiles) files.push_back({"--compare", name});
    return files;
}

// Whether the two options lead to one file. Files that do not exist yet have no identity to
// compare, so the names themselves are compared too, with "." and ".." steps taken out.
bool clash(const NamedFile& a, const NamedFile& b) {
    if (a.name.empty() || b.name.empty()) return false;
    const auto plain = [](const std::string& name) {
        return std::filesystem::path(name).lexically_normal();
    };
    return plain(a.name) == plain(b.name) || sameFile(a.name, b.name);
}

std::string sameFileMessage(const NamedFile& writer, const NamedFile& other) {
    return "Options " + std::string(writer.option) + " and " + std::string(other.option) +
           " name the same file: " + writer.name + ".";
}

}  // namespace

std::string overwriteConflict(const RunSettings& settings) {
    const std::vector<NamedFile> read = readFiles(settings);
    std::vector<NamedFile> written;
    for (const WrittenFile& file : kWrittenFiles) {
        const NamedFile writer{file.option, settings.*file.name};
        for (const NamedFile& input : read) {
            if (clash(writer, input)) return sameFileMessage(writer, input);
        }
        for (const NamedFile& earlier : written) {
            if (clash(writer, earlier)) return sameFileMessage(writer, earlier);
        }
        written.push_back(writer);
    }
    return {};
}

}  // namespace tarnwick
