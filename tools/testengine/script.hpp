#pragma once

#include <string>
#include <string_view>
#include <vector>

// The rule language of the scripted test engine. One rule per line:
//   on <word>[#n]: action; action; ...
// The rule runs when a received line's first word is <word> (only its n-th time with #n,
// which wins over a rule without #n); "on start:" runs at start-up, "on eof:" at the end of
// standard input. A ";" inside a text is written "\;". Lines starting with "#" are comments.
namespace tarnwick::testengine {

enum class ActionKind {
    print,        // print TEXT: TEXT and "\n"
    printRaw,     // printraw TEXT: TEXT with \n \r \t \0 \\ escapes, no newline added
    sleep,        // sleep MS
    flood,        // flood N TEXT: N lines of TEXT
    endless,      // endless N TEXT: TEXT over and over up to N bytes (0: until the output
                  // fails), then "\n"
    stderrText,   // stderr TEXT: TEXT and "\n" on standard error
    exit,         // exit CODE
    crash,        // dies of SIGABRT
    closeStdout,  // closes standard output and error but keeps running
    ignore,       // nothing; in a quit or eof rule it keeps the engine running
    waitFor,      // waitfor WORD: pauses until a line with that first word has arrived
    printCwd,     // "cwd <directory>"
    printFds,     // "fds <n> <n> ..." the open descriptors
    printPid,     // "pid <n>"
    printArgs,    // "arg <text>" per command-line argument, then "args end"
    trapTerm,     // ignores SIGTERM from now on
    deaf,         // reads no input after the line that ran the rule (in "on start:", none)
};

struct Action {
    ActionKind kind = ActionKind::ignore;
    std::string text;
    long long number = 0;
};

struct Rule {
    std::string trigger;
    int occurrence = 0;  // 0: every time
    std::vector<Action> actions;
};

struct Script {
    std::vector<Rule> rules;

    // The rule for the occurrence-th line with first word trigger, or null.
    const Rule* find(std::string_view trigger, int occurrence) const;
};

struct ParsedScript {
    Script script;
    std::string error;  // empty when the text was read in full
};

ParsedScript parseScript(std::string_view text);

// Resolves the escapes of printraw.
std::string unescape(std::string_view text);

}  // namespace tarnwick::testengine
