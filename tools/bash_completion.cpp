// Writes tarnwick's bash completion script, made from its option table, to the file named by
// the only argument; the build runs it so the installed script cannot drift from the program.
#include <fstream>
#include <iostream>

#include "cli/completion_script.hpp"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: tarnwick-completion <output file>\n";
        return 2;
    }
    std::ofstream out(argv[1], std::ios::binary);
    out << tarnwick::bashCompletionScript();
    out.close();
    if (!out) {
        std::cerr << "cannot write " << argv[1] << "\n";
        return 1;
    }
    return 0;
}
