#pragma once

namespace tarnwick {

// Exit statuses of the program.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;         // engine failed to start or answer, exited early, or
                                               // there was nothing to test
inline constexpr int kExitUsage = 2;           // unusable command line
inline constexpr int kExitBelowThreshold = 3;  // the results fell below --min-score or --min-solved
inline constexpr int kExitInterrupted = 130;   // left at once by a second interrupt

}  // namespace tarnwick
