#pragma once
// Whether a definitions feed may be taken: signed by the configured key, a
// file that loads without a single problem, for this program or an older one.
// A feed with any problem is refused whole.

#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "sitedefs/definitions_loader.h"

namespace sirelo {

// The version of this program, "x.y.z".
std::string_view ProgramVersionText();

enum class FeedVerdict { Taken, BadSignature, Refused };

struct CheckedFeed {
    FeedVerdict verdict = FeedVerdict::Refused;
    SiteDefinitions definitions;     // `base` with the feed applied, when taken
    std::string version;             // the feed's [feed] version; empty when it names none
    std::set<std::string> fileKeys;  // the keys the feed set, dotted, when taken
    // Why it was not taken: one line for a bad signature, each of the file's
    // problems (DescribeProblem) for a refused one.
    std::vector<std::string> problems;
};

// `publicKey` is the base64 line of 订阅公钥; `fileName` names the file in problems.
CheckedFeed CheckFeed(const SiteDefinitions& base, std::string_view file,
                      std::string_view signature, std::string_view publicKey,
                      std::string_view fileName);

}  // namespace sirelo
