#pragma once

// Where the tests find their data and the programs they start, as this build placed them.
// The paths are defined in one file that the build generates, so that a clone of the same
// code at another path recompiles that file alone and reuses every other compiled one.
namespace tarnwick::testing::paths {
extern const char kTestData[];
extern const char kSharedSuites[];
extern const char kExamples[];
extern const char kSources[];
extern const char kTarnwick[];
extern const char kTestEngine[];  // empty when the build has no test engine
}  // namespace tarnwick::testing::paths

#define TEST_DATA_DIR ::tarnwick::testing::paths::kTestData
#define SHARED_SUITES_DIR ::tarnwick::testing::paths::kSharedSuites
#define EXAMPLES_DIR ::tarnwick::testing::paths::kExamples
#define SOURCES_DIR ::tarnwick::testing::paths::kSources
#define TARNWICK_BINARY ::tarnwick::testing::paths::kTarnwick
// Tests that start the test engine stand under #ifdef HAVE_TEST_ENGINE, which the build
// defines on the command line, so that a file that forgets this header fails to compile
// rather than losing its tests.
#define TEST_ENGINE_BINARY ::tarnwick::testing::paths::kTestEngine
