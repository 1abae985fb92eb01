#include "config/network_settings.h"

#include <gtest/gtest.h>

#include "config/app_config.h"
#include "config_test_support.h"

namespace sirelo {
namespace {

using testing::Gbk;
using testing::ScopedConfigHome;

TEST(NetworkSettings, TheProxyIsReadAsWrittenAndNeverWritten) {
    ScopedConfigHome home;
    AppConfig config;
    EXPECT_EQ(ReadProxySetting(config), "") << "no file";
    home.writeFile(Gbk("[站点地址]\r\n代理=http://127.0.0.1:1\r\n"));
    EXPECT_EQ(ReadProxySetting(config), "") << "only in its own section";
    const std::string file = Gbk("[网络]\r\n代理 = \"socks5h://127.0.0.1:1080\"\r\n");
    home.writeFile(file);
    EXPECT_EQ(ReadProxySetting(config), "socks5h://127.0.0.1:1080");
    EXPECT_EQ(home.fileBytes(), file);
}

}  // namespace
}  // namespace sirelo
