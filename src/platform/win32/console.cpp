#include "platform/console.hpp"

#include <windows.h>

#include <cstdio>

namespace tarnwick {

namespace {

// Bright white for a highlighted line, then the console's normal grey.
constexpr WORD kBrightWhite = 0x000F;
constexpr WORD kNormalGrey = 0x0007;

}  // namespace

bool ConsoleOutput::outputIsTerminal() {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode) != 0;
}

// The console shows colour by attribute, not by escapes in the text.
void ConsoleOutput::setTerminalHighlight(bool on) {
    std::fflush(stdout);
    SetConsoleTextAttribute(GetStdHandle(STD_OUTPUT_HANDLE), on ? kBrightWhite : kNormalGrey);
}

}  // namespace tarnwick
