#include "platform/file_identity.hpp"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_files.hpp"

namespace tarnwick {
namespace {

using testing::TempDirectory;
using testing::writeFile;

TEST(FileIdentity, OneFileUnderEveryNameAndNoOther) {
    TempDirectory dir("file-identity");
    std::filesystem::create_directory(dir / "sub");
    writeFile(dir / "x.epd", "a\n");
    writeFile(dir / "y.epd", "a\n");
    const std::string x = (dir / "x.epd").string();
    EXPECT_TRUE(sameFile(x, x));
    EXPECT_TRUE(sameFile(x, (dir / "." / "x.epd").string()));
    EXPECT_TRUE(sameFile(x, (dir / "sub" / ".." / "x.epd").string()));
    std::filesystem::create_hard_link(dir / "x.epd", dir / "sub" / "linked.epd");
    EXPECT_TRUE(sameFile((dir / "sub" / "linked.epd").string(), x));

    // Equal contents do not make one file.
    EXPECT_FALSE(sameFile(x, (dir / "y.epd").string()));
    EXPECT_FALSE(sameFile(x, (dir / "missing.epd").string()));
    EXPECT_FALSE(sameFile((dir / "missing.epd").string(), (dir / "missing.epd").string()));
    EXPECT_FALSE(sameFile(x, ""));
}

}  // namespace
}  // namespace tarnwick
