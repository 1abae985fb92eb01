#pragma once
// The command line of sirelo-torznab.

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace sirelo::torznab {

struct TorznabArgs {
    std::string bind = "127.0.0.1";
    int port = 9610;
    std::optional<std::string> configDir;  // the folder of Configuration.ini and sites.toml
    bool help = false;
};

struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Throws UsageError for an unknown option, a missing value or a bad port.
TorznabArgs ParseTorznabArgs(const std::vector<std::string>& args);

}  // namespace sirelo::torznab
