#pragma once
// The magnet search sites as data: where a result page is, and how each field
// of a result item is cut out of the page and finished.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "config/live_settings.h"
#include "sites/finishing.h"

namespace sirelo {

enum MagnetField { kFieldName, kFieldLink, kFieldSize, kFieldHeat, kFieldCreated, kFieldCount };

// A raw piece is everything between a start marker and the next end marker.
struct FieldRule {
    std::string startMarker;  // GBK, matched byte for byte
    std::string endMarker;
    FinishSteps steps;
};

struct MagnetSite {
    int index;          // MagnetSiteIndex
    std::string label;  // the 来源站点 cell, and the site's key in the settings file
    // Result page: base address + beforeKeyword + K + beforePage + P + afterPage.
    std::string beforeKeyword;
    std::string beforePage;
    std::string afterPage;
    std::array<FieldRule, kFieldCount> fields;  // indexed by MagnetField
};

// The cells a result item gives; ordinal and site label come with the insert.
struct MagnetResult {
    std::string name;
    std::string magnetLink;
    std::string size;
    std::string heat;
    std::string created;
};

// Indexed by MagnetSiteIndex.
const std::array<MagnetSite, kMagnetSiteCount>& MagnetSites();

// `base` is scheme://host[:port]; the keyword is GBK and goes out as the
// percent-encoded bytes of its UTF-8 form.
std::string MagnetPageUrl(const MagnetSite& site, std::string_view base, std::string_view keyword,
                          int page);

// The items of one GBK result page. The name list alone says how many there
// are; a field with fewer pieces than names gives an empty cell.
std::vector<MagnetResult> CutMagnetPage(const MagnetSite& site, std::string_view page);

}  // namespace sirelo
