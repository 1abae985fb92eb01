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

TEST(SiteAddresses, DefaultsWithoutAFileOrSection) {
    ScopedConfigHome home;
    AppConfig config;
    SiteDefinitions fromNothing = BuiltInSiteDefinitions();
    EXPECT_TRUE(ApplySiteAddresses(config, fromNothing).empty());
    EXPECT_EQ(fromNothing.magnet[kBtrabbit].base, "http://www.btrabbit.la");
    EXPECT_EQ(fromNothing.online[k7dds].base, "http://www.7dds.cc/");
    EXPECT_EQ(fromNothing.board.base, "https://maoyan.com");
    EXPECT_FALSE(home.fileBytes()) << "reading creates no file";

    home.writeFile(Gbk("[软件设置]\r\n线程数量=3\r\n"));
    SiteDefinitions fromOtherSections = BuiltInSiteDefinitions();
    ApplySiteAddresses(config, fromOtherSections);
    EXPECT_EQ(fromOtherSections, fromNothing);
    EXPECT_EQ(fromOtherSections.online[kLexiang].base, "http://www.lexiangdy.cc");
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
    SiteDefinitions sites = BuiltInSiteDefinitions();
    sites.magnet[kDss].base += "/";  // written with a "/", used without
    const std::vector<RefusedAddress> refused = ApplySiteAddresses(config, sites);
    EXPECT_EQ(sites.magnet[kBtrabbit].base, "http://127.0.0.1:8080");
    EXPECT_EQ(sites.magnet[kZzs].base, "https://127.0.0.1:8081");
    EXPECT_EQ(sites.magnet[kDss].base, "http://www.diaosisou.cc") << "only web addresses";
    EXPECT_EQ(sites.magnet[kBtbook].base, "https://www.btbook.la");
    EXPECT_EQ(sites.online[k7dds].base, "http://127.0.0.1:8082/");
    EXPECT_EQ(sites.online[kLexiang].base, "HTTP://127.0.0.1:8083");
    EXPECT_EQ(sites.board.base, "http://127.0.0.1:8084");
    ASSERT_EQ(refused.size(), 2u);
    EXPECT_EQ(refused[0].key, "DSS");
    EXPECT_EQ(refused[1].value, "http://user@127.0.0.1:8085");
    EXPECT_EQ(refused[1].builtIn, "https://www.btbook.la");
    EXPECT_EQ(home.fileBytes(), file);
}

}  // namespace
}  // namespace sirelo
