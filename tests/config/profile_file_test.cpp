#include "config/profile_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>

#include "config_test_support.h"

namespace sirelo {
namespace {

namespace fs = std::filesystem;
using testing::ScopedConfigHome;

class ProfileFile : public ::testing::Test {
  protected:
    void SetUp() override { fs::create_directories(home_.folder()); }
    std::string path() const { return home_.file(); }
    std::size_t entriesInFolder() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(home_.folder()), fs::directory_iterator()));
    }

    ScopedConfigHome home_;
};

TEST_F(ProfileFile, ReplaceCreatesOrReplacesAndKeepsPermissions) {
    ASSERT_TRUE(ReplaceFile(path(), "first"));
    ::chmod(path().c_str(), 0640);
    ASSERT_TRUE(ReplaceFile(path(), "second"));
    EXPECT_EQ(ReadWholeFile(path()), "second");
    struct stat info {};
    ::stat(path().c_str(), &info);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(entriesInFolder(), 1u);
}

// Root may write into any folder whatever its mode, so the temporary file's
// name is taken by a folder instead: the write cannot even begin.
TEST_F(ProfileFile, AWriteThatCannotStartLeavesTheOldFile) {
    ASSERT_TRUE(ReplaceFile(path(), "[S]\r\nk=old\r\n"));
    fs::create_directory(TemporaryPathFor(path()));
    EXPECT_FALSE(WriteProfileString(path(), "S", "k", "new"));
    EXPECT_EQ(ReadWholeFile(path()), "[S]\r\nk=old\r\n");
    EXPECT_TRUE(fs::is_directory(TemporaryPathFor(path())));
}

// A file-size limit makes the write fail half-way, as a full disk would, and
// it binds root as well.
TEST_F(ProfileFile, AWriteThatFailsHalfWayLeavesTheOldFile) {
    const std::string old = "[S]\r\nk=old\r\n";
    ASSERT_TRUE(ReplaceFile(path(), old));
    auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit previous{};
    ::getrlimit(RLIMIT_FSIZE, &previous);
    rlimit small = previous;
    small.rlim_cur = 64;
    ::setrlimit(RLIMIT_FSIZE, &small);
    const bool written = WriteProfileString(path(), "S", "k", std::string(4096, 'x'));
    ::setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(written);
    EXPECT_EQ(ReadWholeFile(path()), old);
    EXPECT_EQ(entriesInFolder(), 1u) << "the temporary file is removed";
}

TEST_F(ProfileFile, WritesNeitherIntoAMissingFolderNorOverAnUnreadableFile) {
    EXPECT_FALSE(WriteProfileString(home_.root() + "/absent/Configuration.ini", "S", "k", "v"));
    fs::create_directory(path());
    EXPECT_FALSE(WriteProfileString(path(), "S", "k", "v"));
    EXPECT_TRUE(fs::is_directory(path()));
}

TEST_F(ProfileFile, WritesOneKeyAndReplacesItsValue) {
    EXPECT_FALSE(ReadWholeFile(path()));
    ASSERT_TRUE(WriteProfileString(path(), "S", "k", "v"));
    ASSERT_TRUE(WriteProfileString(path(), "S", "k", "w"));
    EXPECT_EQ(ReadWholeFile(path()), "[S]\r\nk=w\r\n");
}

}  // namespace
}  // namespace sirelo
