#pragma once

#include <cstdint>

namespace tarnwick {

// The two-sided exact McNemar p-value of a paired comparison in which a positions were solved by
// the first run only and b by the second only: min(1, 2 P(X <= min(a, b))) for X binomial with
// a + b trials of one half; 1 when a + b is 0.
double exactMcNemarP(int64_t a, int64_t b);

}  // namespace tarnwick
