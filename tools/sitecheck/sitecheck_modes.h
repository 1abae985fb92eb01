#pragma once
// The modes of sirelo-sitecheck. Each mode lives in a file of its own and adds
// itself to the tool with one line at namespace scope:
//
//   const bool kRegistered = RegisterSitecheckMode({"magnet", "SITE KEYWORD ...", RunMagnet});

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace sirelo::sitecheck {

struct SitecheckMode {
    std::string name;   // the first argument
    std::string usage;  // what follows the name on the command line
    // Gets the arguments after the name; returns the exit status.
    std::function<int(const std::vector<std::string>&)> run;
};

bool RegisterSitecheckMode(SitecheckMode mode);
const std::vector<SitecheckMode>& SitecheckModes();

// Thrown by a mode for bad arguments: the tool prints it with the usage and exits with 2.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace sirelo::sitecheck
