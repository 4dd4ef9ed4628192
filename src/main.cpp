#include <string>
#include <vector>

#include "driver/run.hpp"

int main(int argc, char** argv) {
    return tarnwick::runTests(std::vector<std::string>(argv + 1, argv + argc));
}
