#include "report/mcnemar.hpp"

#include <algorithm>
#include <cmath>

namespace tarnwick {

double exactMcNemarP(int64_t a, int64_t b) {
    const int64_t n = a + b;
    const int64_t k = std::min(a, b);
    if (n <= 0 || k < 0) return 1.0;
    // The tail's terms C(n, i) relative to C(n, k), from i = k down: as k <= n / 2 each is at
    // most the one before, so the sum stays below n + 1 however large n is.
    double sum = 0;
    double term = 1;
    for (int64_t i = k; i >= 0 && term > 0; --i) {
        sum += term;
        term *= static_cast<double>(i) / static_cast<double>(n - i + 1);
    }
    // log(C(n, k) / 2^n), which alone could overflow or underflow.
    double logHead = -static_cast<double>(n) * std::log(2.0);
    for (int64_t j = 1; j <= k; ++j) {
        logHead += std::log(static_cast<double>(n - k + j)) - std::log(static_cast<double>(j));
    }
    return std::min(1.0, 2.0 * sum * std::exp(logHead));
}

}  // namespace tarnwick
