// The usage text of the slash options, and the help that adds the options generated from the
// table.
#include "cli/usage_text.hpp"

#include <algorithm>

#include "cli/option_table.hpp"
#include "text/version.hpp"

namespace tarnwick {

namespace {

// What the help shows before an option's help line: its names and its value.
std::string optionHead(const OptionRow& row) {
    std::string head = "  " + optionNames(row);
    if (!row.valueName.empty()) head += " " + std::string(row.valueName);
    return head;
}

// One line per option, the help lines in one column.
std::string optionsHelp() {
    size_t width = 0;
    for (const OptionRow& row : optionTable()) width = std::max(width, optionHead(row).size());
    std::string text = "Long options:\n";
    for (const OptionRow& row : optionTable()) {
        std::string line = optionHead(row);
        line.resize(width + 2, ' ');
        line += row.help;
        if (!row.defaultText.empty()) line += " Default: " + std::string(row.defaultText) + ".";
        text += line + "\n";
    }
    return text +
           "A value is the next word, or follows \"=\" in a long name; \"--\" ends the options.\n";
}

}  // namespace

std::string usageText() {
    return programVersion() +
           "\n"
           "Measures how well a chess engine solves a suite of EPD test positions.\n"
           "Syntax: Tarnwick [/i input /o output /c clear /t time /s setup] <command line>\n"
           "Where:\n"
           "  /a Init time in second, default=2.\n"
           "  /c Command to clear the hash. Default is 'new'.\n"
           "  /e Method to set up the board (WB). Values: edit, cbedit or setboard.\n"
           "     Default=setboard.\n"
           "  /g File to write positions with good only moves.\n"
           "  /i Textfile with the epd positions.\n"
           "  /o File to write the result.\n"
           "  /t Time in sec. to use on each position. Default=10\n"
           "  /s Command to set up the engine.\n"
           "     Default is winboard engines are:\n"
           "        xboard\\nhard\\neasy\\nnew\\nlevel 1 1440 0\\npost.\n"
           "  /u Use the UCI protocol.\n"
           "  /w File to write positions with move not found.\n"
           "<command line> is the command for starting the engine. If the engine use\n"
           "the UCI protocol you can also point to the .eng file here.\n";
}

std::string helpText() {
    return usageText() + optionsHelp();
}

}  // namespace tarnwick
