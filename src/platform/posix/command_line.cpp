#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <string>

#include "platform/posix/command_line.hpp"
#include "platform/process.hpp"

namespace tarnwick {
namespace {

bool isWordBreak(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

// Characters that a backslash escapes inside double quotes, as in a POSIX shell.
bool escapableInDoubleQuotes(char c) {
    return c == '$' || c == '`' || c == '"' || c == '\\' || c == '\n';
}

bool isExecutableFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

std::string currentDirectory() {
    std::string buffer(256, '\0');
    for (;;) {
        if (::getcwd(buffer.data(), buffer.size()) != nullptr) {
            buffer.resize(buffer.find('\0'));
            return buffer;
        }
        if (errno != ERANGE) return {};
        buffer.resize(buffer.size() * 2);
    }
}

std::string joinPath(std::string_view directory, std::string_view name) {
    std::string path(directory);
    if (!path.empty() && path.back() != '/') path += '/';
    path += name;
    return path;
}

}  // namespace

std::vector<std::string> splitCommandLine(std::string_view commandLine) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    const size_t n = commandLine.size();
    for (size_t i = 0; i < n; ++i) {
        const char c = commandLine[i];
        if (isWordBreak(c)) {
            if (inWord) words.push_back(std::move(word));
            word.clear();
            inWord = false;
            continue;
        }
        inWord = true;
        if (c == '\\') {
            if (i + 1 < n)
                word += commandLine[++i];
            else
                word += c;
        } else if (c == '\'') {
            for (++i; i < n && commandLine[i] != '\''; ++i) word += commandLine[i];
        } else if (c == '"') {
            for (++i; i < n && commandLine[i] != '"'; ++i) {
                if (commandLine[i] == '\\' && i + 1 < n &&
                    escapableInDoubleQuotes(commandLine[i + 1])) {
                    ++i;
                    if (commandLine[i] == '\n') continue;
                }
                word += commandLine[i];
            }
        } else {
            word += c;
        }
    }
    if (inWord) words.push_back(std::move(word));
    return words;
}

std::string findProgram(std::string_view name, std::string_view searchPath,
                        std::string_view currentDirectory) {
    if (name.empty()) return {};
    if (name.find('/') != std::string_view::npos) {
        std::string path =
            name.front() == '/' ? std::string(name) : joinPath(currentDirectory, name);
        return isExecutableFile(path) ? path : std::string();
    }
    size_t start = 0;
    for (;;) {
        const size_t end = std::min(searchPath.find(':', start), searchPath.size());
        std::string_view directory = searchPath.substr(start, end - start);
        std::string base = directory.empty() || directory.front() != '/'
                               ? joinPath(currentDirectory, directory)
                               : std::string(directory);
        std::string path = joinPath(base, name);
        if (isExecutableFile(path)) return path;
        if (end >= searchPath.size()) return {};
        start = end + 1;
    }
}

std::string directoryOf(std::string_view path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string_view::npos) return {};
    return std::string(path.substr(0, slash + 1));
}

std::string resolveProgram(std::string_view commandLine) {
    const std::vector<std::string> words = splitCommandLine(commandLine);
    if (words.empty()) return {};
    // execvp's own fallback when PATH is not set.
    const char* searchPath = std::getenv("PATH");
    return findProgram(words.front(), searchPath != nullptr ? searchPath : "/bin:/usr/bin",
                       currentDirectory());
}

}  // namespace tarnwick
