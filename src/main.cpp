#include <cstdio>

int main() {
    std::fputs("Tarnwick 2.5\n", stdout);
    return 0;
}
