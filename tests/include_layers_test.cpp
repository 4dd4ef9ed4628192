#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "support/temp_files.hpp"
#include "support/test_paths.hpp"

namespace tarnwick {
namespace {

// The folders of src/, lowest first: a file includes only its own folder's files and those of
// the folders below it.
const std::map<std::string, int> kLayers = {{"text", 0},   {"platform", 1}, {"chess", 2},
                                            {"epd", 3},    {"engine", 4},   {"scoring", 5},
                                            {"report", 6}, {"run", 7},      {"cli", 8}};

// A file's module: its path under src/ without the extension, a header and its source alike.
using Graph = std::map<std::string, std::set<std::string>>;

// Whether the first module of path reaches itself again through the includes from module; the
// path it took when it does.
bool cycles(const Graph& graph, const std::string& module, std::vector<std::string>& path) {
    if (!path.empty() && module == path.front()) return true;
    if (std::find(path.begin(), path.end(), module) != path.end()) return false;
    path.push_back(module);
    if (const auto it = graph.find(module); it != graph.end()) {
        for (const std::string& next : it->second) {
            if (cycles(graph, next, path)) return true;
        }
    }
    path.pop_back();
    return false;
}

// Includes go one way: across folders only downwards, and inside a folder no module includes one
// that includes it back, directly or through others.
TEST(IncludeLayers, IncludesGoOneWay) {
    namespace fs = std::filesystem;
    const std::regex include("#include \"([a-z0-9_]+)/([a-z0-9_/]+)\\.hpp\"");
    Graph graph;
    for (const auto& entry : fs::recursive_directory_iterator(SOURCES_DIR)) {
        const fs::path relative = fs::relative(entry.path(), SOURCES_DIR);
        if (!entry.is_regular_file() || relative.begin() == relative.end()) continue;
        const std::string folder = relative.begin()->string();
        if (!kLayers.contains(folder)) continue;
        const std::string module = (relative.parent_path() / relative.stem()).generic_string();
        const std::string text = testing::readFile(entry.path());
        for (std::sregex_iterator it(text.begin(), text.end(), include), end; it != end; ++it) {
            const std::string target = (*it)[1].str() + "/" + (*it)[2].str();
            ASSERT_TRUE(kLayers.contains((*it)[1].str())) << relative << " includes " << target;
            EXPECT_LE(kLayers.at((*it)[1].str()), kLayers.at(folder))
                << relative << " includes " << target << " from a folder above its own";
            if (target != module) graph[module].insert(target);
        }
    }
    EXPECT_GT(graph.size(), 50u);
    for (const auto& [module, includes] : graph) {
        std::vector<std::string> path;
        std::string loop;
        if (cycles(graph, module, path)) {
            for (const std::string& step : path) loop += step + " -> ";
            loop += module;
        }
        EXPECT_EQ(loop, "") << "includes that come back";
    }
}

}  // namespace
}  // namespace tarnwick
