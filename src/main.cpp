#include <string>
#include <vector>

#include "cli/program.hpp"

int main(int argc, char** argv) {
    return tarnwick::runTests(std::vector<std::string>(argv + 1, argv + argc));
}
