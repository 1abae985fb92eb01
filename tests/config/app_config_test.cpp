#include "config/app_config.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <future>

#include "config/site_addresses.h"
#include "config_test_support.h"
#include "sitedefs/program_definitions.h"
#include "sitedefs/site_roster.h"

namespace sirelo {
namespace {

namespace fs = std::filesystem;
using testing::FakeControls;
using testing::Gbk;
using testing::ScopedConfigHome;

const char* const kFullFile =
    "[软件设置]\r\n线程数量=8\r\n间隔时间=900\r\n搜索页数=30\r\n精准搜索=假\r\n"
    "过滤链接=假\r\n保证显示=真\r\n[磁力站点]\r\nBtrabbit=假\r\nZZS=真\r\nDSS=假\r\n"
    "Btbook=假\r\n[在线站点]\r\n手机看片=假\r\n乐享电影=假\r\n";

class AppConfigTest : public ::testing::Test {
  protected:
    // Loads the file and gives back whether it was left alone, bytes and time.
    bool loadLeavesFileAlone() {
        const std::string path = home_.file();
        const timespec past[2] = {{1000000000, 0}, {1000000000, 0}};
        ::utimensat(AT_FDCWD, path.c_str(), past, 0);
        const auto before = home_.fileBytes();
        config_.loadSettings(controls_);
        const timespec after = testing::ModificationTime(path);
        return home_.fileBytes() == before && after.tv_sec == past[1].tv_sec;
    }
    std::string text(NumberBox box) const { return controls_.numberText(box); }
    bool checked(FlagBox box) const { return controls_.flagChecked(box); }
    bool siteChecked(std::string_view control) const {
        return controls_.siteChecked(controls_.site(control));
    }

    ScopedConfigHome home_;
    AppConfig config_;
    LiveSettings live_;
    FakeControls controls_{config_, live_};
};

TEST_F(AppConfigTest, LoadingWithoutFoldersCreatesBothButNoFile) {
    config_.loadSettings(controls_);
    EXPECT_EQ(config_.configFilePath(), home_.file());
    EXPECT_TRUE(fs::is_directory(home_.root() + "/配置"));
    EXPECT_TRUE(fs::is_directory(home_.folder()));
    EXPECT_FALSE(fs::exists(home_.file()));
    EXPECT_TRUE(controls_.calls.empty());
    EXPECT_EQ(config_.loadingMarker(), "");
}

TEST_F(AppConfigTest, TheRootIsChosenAgainAtEveryCall) {
    ScopedConfigHome other;  // now XDG_CONFIG_HOME
    ASSERT_TRUE(config_.writeSetting("S", "k", "v"));
    EXPECT_EQ(config_.driveRoot(), other.root());
    EXPECT_TRUE(fs::exists(other.file()));
    EXPECT_FALSE(fs::exists(home_.file()));

    const std::string savedHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    ::setenv("HOME", other.root().c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", "relative/ignored", 1);
    config_.ensureConfigFolder();
    EXPECT_EQ(config_.configFilePath(), other.root() + "/.config/配置/Sirelo/Configuration.ini");
    EXPECT_TRUE(fs::is_directory(other.root() + "/.config/配置/Sirelo"));
    ::setenv("HOME", savedHome.c_str(), 1);
}

TEST_F(AppConfigTest, TheFirstUncheckingOfFilterLinksMakesAOneKeyFile) {
    config_.loadSettings(controls_);
    controls_.click(FlagBox::FilterLinks);
    EXPECT_EQ(home_.fileBytes(), Gbk("[软件设置]\r\n过滤链接=假\r\n"));
}

TEST_F(AppConfigTest, WritesKeepEveryOtherByte) {
    const std::string original =
        Gbk("; written by hand\n"
            "[站点地址]\n"
            "DSS = http://127.0.0.1:8080\n"
            "\n"
            "[软件设置]\n"
            "  线程数量 =  3   ; three\n"
            "未知键=留着\n"
            "\n"
            "[别的]\n"
            "x=\"quoted\"\n");
    home_.writeFile(original);
    config_.loadSettings(controls_);
    controls_.click(controls_.site("DSS_选择框"));
    controls_.click(controls_.site("DSS_选择框"));
    controls_.setNumberText(NumberBox::ThreadCount, "007");
    controls_.setNumberText(NumberBox::PageCount, "42");
    EXPECT_EQ(home_.fileBytes(), Gbk("; written by hand\n"
                                     "[站点地址]\n"
                                     "DSS = http://127.0.0.1:8080\n"
                                     "\n"
                                     "[软件设置]\n"
                                     "线程数量=7\n"
                                     "未知键=留着\n"
                                     "搜索页数=42\r\n"
                                     "\n"
                                     "[别的]\n"
                                     "x=\"quoted\"\n"
                                     "[磁力站点]\r\n"
                                     "DSS=真\r\n"));
    EXPECT_EQ(text(NumberBox::ThreadCount), "007");
}

TEST_F(AppConfigTest, AValueOutOfRangeIsClampedOnScreenOnly) {
    home_.writeFile(Gbk("[软件设置]\r\n线程数量=50\r\n"));
    EXPECT_TRUE(loadLeavesFileAlone());
    EXPECT_EQ(text(NumberBox::ThreadCount), "20");
    EXPECT_EQ(live_.threadCount, 20);
    EXPECT_EQ(text(NumberBox::PageCount), "10");
}

TEST_F(AppConfigTest, OnlyTheExactValueTrueChecksABox) {
    home_.writeFile(
        Gbk("[软件设置]\r\n精准搜索=\r\n保证显示=真\r\n过滤链接=yes\r\n"
            "[磁力站点]\r\nZZS=真\r\nBtbook=true\r\nDSS=1\r\n"));
    EXPECT_TRUE(loadLeavesFileAlone());
    EXPECT_TRUE(checked(FlagBox::ExactSearch)) << "an empty value changes nothing";
    EXPECT_TRUE(checked(FlagBox::KeepNewestShown));
    EXPECT_FALSE(checked(FlagBox::FilterLinks));
    EXPECT_TRUE(siteChecked("ZZS_选择框"));
    EXPECT_FALSE(siteChecked("Btbook_选择框"));
    EXPECT_FALSE(siteChecked("DSS_选择框"));
    EXPECT_TRUE(siteChecked("Btrabbit_选择框"));
    EXPECT_TRUE(live_.magnetSites[kZzs]);
    EXPECT_FALSE(live_.filterLinks);
}

TEST_F(AppConfigTest, AFullFileLoadsInOrderWithoutAWrite) {
    home_.writeFile(Gbk(kFullFile));
    EXPECT_TRUE(loadLeavesFileAlone());
    std::vector<std::string> order;
    for (const auto& call : controls_.calls) {
        order.push_back(call.control);
        EXPECT_EQ(call.marker, Gbk("读取配置"));
    }
    EXPECT_EQ(order, (std::vector<std::string>{
                         "线程数量_编辑框", "搜索间隔_编辑框", "搜索页数_编辑框", "精准搜索_选择框",
                         "过滤链接_选择框", "保证显示_选择框", "Btrabbit_选择框", "ZZS_选择框",
                         "DSS_选择框", "Btbook_选择框", "手机看片_选择框", "乐享电影_选择框"}));
    EXPECT_EQ(config_.loadingMarker(), "");
    EXPECT_EQ(text(NumberBox::ThreadCount), "8");
    EXPECT_EQ(text(NumberBox::Interval), "900");
    EXPECT_EQ(text(NumberBox::PageCount), "30");
    EXPECT_EQ(live_.intervalMs, 900);
    EXPECT_TRUE(siteChecked("ZZS_选择框"));
    EXPECT_FALSE(siteChecked("乐享电影_选择框"));
    EXPECT_FALSE(live_.onlineSites[kLexiang]);
    EXPECT_EQ(fs::directory_iterator(home_.folder())->path(), home_.file());
}

TEST_F(AppConfigTest, AVeryLongValueArrivesCut) {
    home_.writeFile(Gbk("[软件设置]\r\n搜索页数=") + std::string(20000, '0') + "\r\n");
    EXPECT_TRUE(loadLeavesFileAlone());
    ASSERT_FALSE(controls_.calls.empty());
    EXPECT_EQ(controls_.calls.front().value, std::string(10239, '0'));
    EXPECT_EQ(text(NumberBox::PageCount), "1");
}

TEST_F(AppConfigTest, AFailedWriteLeavesTheFileAndTheControls) {
    const std::string original = Gbk("[磁力站点]\r\nDSS=真\r\n[软件设置]\r\n线程数量=4\r\n");
    home_.writeFile(original);
    config_.loadSettings(controls_);
    fs::create_directory(TemporaryPathFor(home_.file()));

    controls_.click(controls_.site("DSS_选择框"));
    controls_.setNumberText(NumberBox::ThreadCount, "9");
    EXPECT_EQ(home_.fileBytes(), original);
    EXPECT_FALSE(siteChecked("DSS_选择框"));
    EXPECT_EQ(text(NumberBox::ThreadCount), "9");
    EXPECT_EQ(live_.threadCount, 9);
    EXPECT_FALSE(config_.writeSetting("S", "k", "v"));
}

// Runs `step` on a thread. Should it hang on the FIFO at `path`, the FIFO is
// opened for writing and closed until the step reads its end and returns.
bool EndsUnaided(const std::string& path, const std::function<void()>& step) {
    using namespace std::chrono_literals;
    auto done = std::async(std::launch::async, step);
    if (done.wait_for(20s) == std::future_status::ready) return true;
    while (done.wait_for(100ms) != std::future_status::ready) {
        if (const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK); fd >= 0) ::close(fd);
    }
    return false;
}

struct FileKind {
    std::string type;  // of the file itself, links not followed
    std::uintmax_t size;
    timespec modified;
    std::string linkTarget;
};

FileKind KindOf(const std::string& path) {
    struct stat info {};
    ::lstat(path.c_str(), &info);
    std::error_code ignored;
    const std::string target = fs::is_symlink(path) ? fs::read_symlink(path, ignored).string() : "";
    return {S_ISREG(info.st_mode)    ? "file"
            : S_ISFIFO(info.st_mode) ? "fifo"
            : S_ISLNK(info.st_mode)  ? "link"
                                     : "other",
            static_cast<std::uintmax_t>(info.st_size), info.st_mtim, target};
}

// Whatever stands at the file's place is never read when it is no plain file
// of a sane size, and never replaced: start-up neither blocks nor aborts.
TEST(AppConfigHostileFile, IsNeitherReadNorReplaced) {
    const std::vector<std::pair<const char*, std::function<void(const std::string&)>>> kinds{
        {"50 MB",
         [](const std::string& path) {
             ReplaceFile(path, Gbk("[软件设置]\r\n线程数量=7\r\n"));
             fs::resize_file(path, 50u << 20);
         }},
        {"FIFO", [](const std::string& path) { ::mkfifo(path.c_str(), 0644); }},
        {"link to /dev/zero",
         [](const std::string& path) { fs::create_symlink("/dev/zero", path); }},
    };
    for (const auto& [name, make] : kinds) {
        SCOPED_TRACE(name);
        ScopedConfigHome home;
        fs::create_directories(home.folder());
        make(home.file());
        const FileKind before = KindOf(home.file());
        AppConfig config;
        LiveSettings live;
        FakeControls controls(config, live);
        SiteDefinitions definitions = BuiltInSiteDefinitions();
        bool written = true;

        EXPECT_TRUE(EndsUnaided(home.file(), [&] {
            ApplySiteAddresses(config, definitions);
            config.loadSettings(controls);
            written = config.writeSetting(Gbk("软件设置"), Gbk("线程数量"), "9");
        }));
        EXPECT_TRUE(controls.calls.empty());
        EXPECT_EQ(definitions, BuiltInSiteDefinitions());
        EXPECT_FALSE(written);
        const FileKind after = KindOf(home.file());
        EXPECT_EQ(after.type, before.type);
        EXPECT_EQ(after.size, before.size);
        EXPECT_EQ(after.modified.tv_sec, before.modified.tv_sec);
        EXPECT_EQ(after.modified.tv_nsec, before.modified.tv_nsec);
        EXPECT_EQ(after.linkTarget, before.linkTarget);
    }
}

}  // namespace
}  // namespace sirelo
