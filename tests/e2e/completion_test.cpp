// The bash completion script, run by a real bash the way its completion calls it.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>

#include "cli/completion_script.hpp"
#include "support/temp_files.hpp"

namespace tarnwick {
namespace {

using testing::TempDirectory;
using testing::writeFile;

#ifndef _WIN32
// Registers the script, then completes each line of cases (the words typed so far, the last
// one the word under the cursor, "''" for an empty one) and prints "case: replies", sorted.
constexpr const char* kDriver = R"sh(source "$1" || exit 1
registration=$(complete -p tarnwick) || exit 1
echo "registered: $registration"
function=${registration#*-F }
function=${function%% *}
while IFS= read -r line; do
    eval "COMP_WORDS=($line)"
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    "$function"
    echo "$line: $( ((${#COMPREPLY[@]})) && printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' ')"
done < "$2"
)sh";

// The replies of bash, run in folder, for every case line: case -> replies.
std::map<std::string, std::string> complete(const TempDirectory& folder, const std::string& cases) {
    writeFile(folder / "completion.bash", bashCompletionScript());
    writeFile(folder / "driver.bash", kDriver);
    writeFile(folder / "cases", cases);
    const std::string command =
        "cd '" + folder.path().string() +
        "' && bash --norc --noprofile driver.bash completion.bash cases 2>&1";
    std::map<std::string, std::string> replies;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return replies;
    std::string output;
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
    ::pclose(pipe);
    for (size_t start = 0, end; (end = output.find('\n', start)) != std::string::npos;
         start = end + 1) {
        const std::string line = output.substr(start, end - start);
        const size_t colon = line.find(": ");
        if (colon != std::string::npos) replies[line.substr(0, colon)] = line.substr(colon + 2);
    }
    return replies;
}
#endif

TEST(Completion, BashCompletesOptionsValuesFilesAndCommands) {
#ifdef _WIN32
    GTEST_SKIP() << "no bash completion on Windows";
#else
    if (std::system("bash -c true >/dev/null 2>&1") != 0) GTEST_SKIP() << "bash is not installed";
    TempDirectory folder("completion");
    writeFile(folder / "a.epd", "");
    writeFile(folder / "b.epd", "");
    auto replies = complete(folder,
                            "tarnwick --bo\n"
                            "tarnwick --board-setup ''\n"
                            "tarnwick /e s\n"
                            "tarnwick --board-setup = ''\n"
                            "tarnwick -i ''\n"
                            "tarnwick /o a\n"
                            "tarnwick --json=a\n"
                            "tarnwick --time 5 --ini\n"
                            "tarnwick -t 5 -\n"
                            "tarnwick /t 5 bas\n"
                            "tarnwick -- -\n"
                            "tarnwick -- bas\n"
                            "tarnwick mybash --in\n"
                            "tarnwick mybash -i b\n"
                            "tarnwick --compare a.epd b\n"
                            "tarnwick --compare a.epd /t 5 --no\n"
                            "tarnwick --time ''\n");
    EXPECT_EQ(replies["registered"], "complete -F _tarnwick tarnwick");
    EXPECT_EQ(replies["tarnwick --bo"], "--board-setup ");
    EXPECT_EQ(replies["tarnwick --board-setup ''"], "cbedit edit setboard ");
    EXPECT_EQ(replies["tarnwick /e s"], "setboard ");
    // Bash splits "--name=value" at "=", and completes what follows it.
    EXPECT_EQ(replies["tarnwick --board-setup = ''"], "cbedit edit setboard ");
    EXPECT_EQ(replies["tarnwick -i ''"], "a.epd b.epd cases completion.bash driver.bash ");
    EXPECT_EQ(replies["tarnwick /o a"], "a.epd ");
    EXPECT_EQ(replies["tarnwick --json=a"], "--json=a.epd ");  // a word bash left whole
    EXPECT_EQ(replies["tarnwick --time 5 --ini"], "--init-time ");
    const std::string options = replies["tarnwick -t 5 -"];
    for (const char* name : {"--input ", "-i ", "--compare ", "-j ", "--version "}) {
        EXPECT_NE(options.find(name), std::string::npos) << name;
    }
    // The engine's first word is a command; after it, and after "--", nothing is an option.
    EXPECT_NE(replies["tarnwick /t 5 bas"].find("bash "), std::string::npos);
    EXPECT_EQ(replies["tarnwick -- -"], "");
    EXPECT_NE(replies["tarnwick -- bas"].find("bash "), std::string::npos);
    EXPECT_EQ(replies["tarnwick mybash --in"], "");
    EXPECT_EQ(replies["tarnwick mybash -i b"], "b.epd ");
    EXPECT_EQ(replies["tarnwick --compare a.epd b"], "b.epd ");
    EXPECT_EQ(replies["tarnwick --compare a.epd /t 5 --no"], "--nodes ");
    EXPECT_EQ(replies["tarnwick --time ''"], "");
#endif
}

}  // namespace
}  // namespace tarnwick
