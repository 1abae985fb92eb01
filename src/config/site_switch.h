#pragma once
// A site's switch: its checkbox on 设置中心 and its flag in Configuration.ini.
// The roster (sitedefs/site_roster.h) makes one per site; the settings code
// works from that list and names no site itself.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace sirelo {

enum class SiteKind { Magnet, Online };

// The built-in sites' places among the sites of their kind: they come first,
// in this order, and tests and benchmarks name them by these.
enum MagnetSiteIndex { kBtrabbit = 0, kZzs = 1, kDss = 2, kBtbook = 3, kMagnetSiteCount = 4 };
enum OnlineSiteIndex { k7dds = 0, kLexiang = 1, kOnlineSiteCount = 2 };

// A user's file adds at most this many sites of each kind.
inline constexpr int kMaxAddedSites = 16;
inline constexpr int kMaxMagnetSites = kMagnetSiteCount + kMaxAddedSites;
inline constexpr int kMaxOnlineSites = kOnlineSiteCount + kMaxAddedSites;

struct SiteSwitch {
    SiteKind kind = SiteKind::Magnet;
    int index = 0;            // the site's place among the sites of its kind
    std::string control;      // the checkbox's name, UTF-8
    std::string caption;      // UTF-8
    std::string label;        // UTF-8, whole: the tooltip of a caption cut to fit
    std::string key;          // UTF-8, in section SiteSection(kind)
    bool formDefault = true;  // the state when the file has no key for it
    bool clickable = true;
    bool builtIn = false;  // its caption stands as it is; an added site's is cut to fit
};

// "磁力站点" or "在线站点".
const char* SiteSection(SiteKind kind);

// The checkboxes of the built-in sites, whose names, captions and keys are
// their own. An added site's checkbox is "<id>_选择框", captioned " " + label,
// its key its id.
struct BuiltInSwitch {
    SiteKind kind;
    std::string_view id;  // as the definitions files write it
    std::string_view control;
    std::string_view caption;
    std::string_view key;
    bool formDefault;
    bool needsUserTable;  // clickable only once the user's file defines the site
};

inline constexpr std::array<BuiltInSwitch, std::size_t{kMagnetSiteCount} + kOnlineSiteCount>
    kBuiltInSwitches{{
        {SiteKind::Magnet, "Btrabbit", "Btrabbit_选择框", " Btrabbit", "Btrabbit", true, false},
        {SiteKind::Magnet, "ZZS", "ZZS_选择框", " ZZS", "ZZS", false, true},
        {SiteKind::Magnet, "DSS", "DSS_选择框", "DSS", "DSS", true, false},
        {SiteKind::Magnet, "Btbook", "Btbook_选择框", "Btbook", "Btbook", true, false},
        {SiteKind::Online, "7DDS", "手机看片_选择框", " 7DDS", "手机看片", true, false},
        {SiteKind::Online, "乐享电影网", "乐享电影_选择框", " 乐享电影网", "乐享电影", true, false},
    }};

}  // namespace sirelo
