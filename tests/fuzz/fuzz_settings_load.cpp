#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "config/app_config.h"
#include "config/site_addresses.h"
#include "config_test_support.h"
#include "sitedefs/program_definitions.h"
#include "sitedefs/site_roster.h"

using namespace sirelo;

namespace {

std::string& ConfigRoot() {
    static std::string root;
    return root;
}

// One throw-away configuration folder for the whole run, removed at exit.
const std::string& ConfigFile() {
    static const std::string file = [] {
        char pattern[] = "/tmp/sirelo-fuzz-XXXXXX";
        ConfigRoot() = ::mkdtemp(pattern);
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(ConfigRoot(), ignored);
        });
        ::setenv("XDG_CONFIG_HOME", ConfigRoot().c_str(), 1);
        AppConfig config;
        config.ensureConfigFolder();
        return config.configFilePath();
    }();
    return file;
}

}  // namespace

// The input is the settings file as start-up finds it: loading it into the
// controls and reading the site addresses from it must never crash.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& file = ConfigFile();
    std::ofstream(file, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    AppConfig config;
    LiveSettings live;
    testing::FakeControls controls(config, live);
    config.loadSettings(controls);
    SiteDefinitions sites = BuiltInSiteDefinitions();
    ApplySiteAddresses(config, sites);
    if (sites.online[k7dds].base.empty() || sites.online[k7dds].base.back() != '/') std::abort();
    return 0;
}
