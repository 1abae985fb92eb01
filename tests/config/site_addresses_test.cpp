#include "config/site_addresses.h"

#include <gtest/gtest.h>

#include "config/app_config.h"
#include "config_test_support.h"
#include "sitedefs/program_definitions.h"
#include "sitedefs/site_roster.h"

namespace sirelo {
namespace {

using testing::Gbk;
using testing::ScopedConfigHome;

// Bases as the site definitions give them.
const SiteDefinitions& Defaults() {
    return BuiltInSiteDefinitions();
}

TEST(SiteAddresses, DefaultsWithoutAFileOrSection) {
    ScopedConfigHome home;
    AppConfig config;
    const SiteAddresses fromNothing = ReadSiteAddresses(config, Defaults());
    EXPECT_EQ(fromNothing.magnet[kBtrabbit], "http://www.btrabbit.la");
    EXPECT_EQ(fromNothing.online[k7dds], "http://www.7dds.cc/");
    EXPECT_EQ(fromNothing.board, "https://maoyan.com");
    EXPECT_FALSE(home.fileBytes()) << "reading creates no file";

    home.writeFile(Gbk("[软件设置]\r\n线程数量=3\r\n"));
    const SiteAddresses fromOtherSections = ReadSiteAddresses(config, Defaults());
    EXPECT_EQ(fromOtherSections.magnet, DefinedAddresses(Defaults()).magnet);
    EXPECT_EQ(fromOtherSections.online[kLexiang], "http://www.lexiangdy.cc");
}

TEST(SiteAddresses, TheSectionOverridesAndIsNormalised) {
    ScopedConfigHome home;
    const std::string file =
        Gbk("[站点地址]\r\n"
            "Btrabbit=http://127.0.0.1:8080/\r\n"
            "zzs = \"https://127.0.0.1:8081\"\r\n"
            "DSS=ftp://127.0.0.1\r\n"
            "Btbook=http://user@127.0.0.1:8085\r\n"
            "7DDS=http://127.0.0.1:8082\r\n"
            "乐享电影网=HTTP://127.0.0.1:8083//\r\n"
            "院线热映=http://127.0.0.1:8084\r\n");
    home.writeFile(file);
    AppConfig config;
    const SiteAddresses addresses = ReadSiteAddresses(config, Defaults());
    EXPECT_EQ(addresses.magnet[kBtrabbit], "http://127.0.0.1:8080");
    EXPECT_EQ(addresses.magnet[kZzs], "https://127.0.0.1:8081");
    EXPECT_EQ(addresses.magnet[kDss], "http://www.diaosisou.cc") << "only web addresses";
    EXPECT_EQ(addresses.magnet[kBtbook], "https://www.btbook.la");
    EXPECT_EQ(addresses.online[k7dds], "http://127.0.0.1:8082/");
    EXPECT_EQ(addresses.online[kLexiang], "HTTP://127.0.0.1:8083");
    EXPECT_EQ(addresses.board, "http://127.0.0.1:8084");
    ASSERT_EQ(addresses.refused.size(), 2u);
    EXPECT_EQ(addresses.refused[0].key, "DSS");
    EXPECT_EQ(addresses.refused[1].value, "http://user@127.0.0.1:8085");
    EXPECT_EQ(addresses.refused[1].builtIn, "https://www.btbook.la");
    EXPECT_EQ(home.fileBytes(), file);
}

}  // namespace
}  // namespace sirelo
