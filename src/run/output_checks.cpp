#include "run/output_checks.hpp"

#include <array>
#include <filesystem>
#include <string_view>

#include "platform/file_identity.hpp"

namespace tarnwick {

namespace {

struct NamedFile {
    std::string_view option;
    const std::string& name;
};

// Whether the two options lead to one file. Files that do not exist yet have no identity to
// compare, so the names themselves are compared too, with "." and ".." steps taken out.
bool clash(const NamedFile& a, const NamedFile& b) {
    if (a.name.empty() || b.name.empty()) return false;
    const auto plain = [](const std::string& name) {
        return std::filesystem::path(name).lexically_normal();
    };
    return plain(a.name) == plain(b.name) || sameFile(a.name, b.name);
}

}  // namespace

std::string overwriteConflict(const RunSettings& settings) {
    const NamedFile solved{"/g", settings.goodOnlyFile};
    const NamedFile unsolved{"/w", settings.notFoundFile};
    const NamedFile suite{"/i", settings.inputFile};
    const NamedFile result{"/o", settings.resultFile};
    // The unsolved file is created after the solved one, so it is the one that overwrites.
    const std::array<std::array<const NamedFile*, 2>, 5> pairs = {{{&solved, &suite},
                                                                   {&solved, &result},
                                                                   {&unsolved, &suite},
                                                                   {&unsolved, &result},
                                                                   {&unsolved, &solved}}};
    for (const auto& [writer, overwritten] : pairs) {
        if (clash(*writer, *overwritten)) {
            return "Options " + std::string(writer->option) + " and " +
                   std::string(overwritten->option) + " name the same file: " + writer->name + ".";
        }
    }
    return {};
}

}  // namespace tarnwick
