#include "config/profile_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <sys/wait.h>
#include <unistd.h>

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

TEST_F(ProfileFile, WritesThroughASymbolicLinkToItsTarget) {
    const std::string elsewhere = home_.root() + "/dotfiles";
    fs::create_directories(elsewhere);
    ASSERT_TRUE(ReplaceFile(elsewhere + "/sirelo.ini", "[S]\r\nk=old\r\n"));
    fs::create_symlink("../../dotfiles/sirelo.ini", path());

    ASSERT_TRUE(WriteProfileString(path(), "S", "k", "new"));
    EXPECT_TRUE(fs::is_symlink(path()));
    EXPECT_EQ(ReadWholeFile(elsewhere + "/sirelo.ini"), "[S]\r\nk=new\r\n");
    EXPECT_EQ(entriesInFolder(), 1u);
}

// Tests run as root, whom no mode stops; the file's mode must stop the write.
TEST_F(ProfileFile, LeavesAReadOnlyFileAlone) {
    ASSERT_TRUE(ReplaceFile(path(), "[S]\r\nk=old\r\n"));
    ::chmod(path().c_str(), 0444);
    EXPECT_FALSE(WriteProfileString(path(), "S", "k", "new"));
    EXPECT_EQ(ReadWholeFile(path()), "[S]\r\nk=old\r\n");
}

// A finished child's pid is one that no process holds; the parent's is alive.
TEST_F(ProfileFile, RemovesOnlyTheTemporaryFilesOfEndedProcesses) {
    const pid_t ended = ::fork();
    if (ended == 0) ::_exit(0);
    ASSERT_GT(ended, 0);
    ::waitpid(ended, nullptr, 0);
    const std::string stale = path() + "." + std::to_string(ended) + ".tmp";
    const std::string live = path() + "." + std::to_string(::getppid()) + ".tmp";
    const std::string other = path() + ".x1.tmp";
    for (const std::string& file : {stale, live, other})
        ASSERT_TRUE(ReplaceFile(file, "partial"));

    ASSERT_TRUE(WriteProfileString(path(), "S", "k", "v"));
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(live));
    EXPECT_TRUE(fs::exists(other));
}

}  // namespace
}  // namespace sirelo
