#include <string>
#include <vector>

#include "run/run.hpp"

int main(int argc, char** argv) {
    return tarnwick::runTests(std::vector<std::string>(argv + 1, argv + argc));
}
