#pragma once

#include <string>
#include <string_view>
#include <vector>

// How the POSIX layer reads an engine's command line; Windows hands the line to the system.
namespace tarnwick {

// Cuts a command line into words the way a POSIX shell quotes: blanks separate words,
// single quotes keep everything, double quotes keep everything but backslash escapes of
// $ ` " \ and newline, a backslash outside quotes keeps the next character. Nothing is
// expanded; an unterminated quote runs to the end.
std::vector<std::string> splitCommandLine(std::string_view commandLine);

// The absolute path of the program that would run for name, found the way execvp does: a
// name with a "/" is a path (made absolute against currentDirectory), any other name is
// looked up in the ":"-separated directories of searchPath (an empty entry is the current
// directory). Empty when no executable file is found.
std::string findProgram(std::string_view name, std::string_view searchPath,
                        std::string_view currentDirectory);

}  // namespace tarnwick
