#pragma once
// Every site as data: the magnet sites, the online-play sites and the
// film-ranking board. The records are filled from data/sites.toml (built in)
// and the user's sites.toml once at start-up, before any worker runs, and are
// immutable afterwards: every thread reads them through a const reference.
// Markers, patterns and labels are GBK; ids, addresses and paths are as written.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "config/site_switch.h"
#include "sitedefs/finishing.h"

namespace sirelo {

// The encoding a site's pages come in; everything is cut as GBK.
enum class PageEncoding { Utf8, Gbk };

// How politely a site is asked, per run: `delayMs` the least time between the
// starts of two requests, `maxInFlight` the most requests at once; 0 is no bound.
struct SitePacing {
    int delayMs = 0;
    int maxInFlight = 0;
    bool paced() const { return delayMs > 0 || maxInFlight > 0; }
    friend bool operator==(const SitePacing&, const SitePacing&) = default;
};

enum MagnetField { kFieldName, kFieldLink, kFieldSize, kFieldHeat, kFieldCreated, kFieldCount };

// Each field's table in a definitions file, by MagnetField.
inline constexpr std::array<std::string_view, kFieldCount> kFieldKeys{"name", "link", "size",
                                                                      "heat", "created"};

// A raw piece is everything between a start marker and the next end marker.
struct FieldRule {
    std::string startMarker;  // GBK, matched byte for byte
    std::string endMarker;
    FinishSteps steps;
    friend bool operator==(const FieldRule&, const FieldRule&) = default;
};

// What every site of the roster carries besides its definition.
struct SiteEntry {
    int index = 0;           // the site's place among the sites of its kind
    std::string id;          // UTF-8, as the files write it; its key in [站点地址]
    std::string label;       // GBK: the 来源站点 cell, the tooltips, the checkbox's caption
    bool enabled = true;     // the checkbox's state when the settings file has no key for it
    bool builtIn = true;     // false: added by the user's file
    bool userTable = false;  // the user's file holds a valid table for it
    friend bool operator==(const SiteEntry&, const SiteEntry&) = default;
};

struct MagnetSite : SiteEntry {
    std::string base;  // scheme://host; [站点地址] of Configuration.ini wins over it
    // The result page after the base: {keyword} and {page} stand for the
    // encoded keyword and the page number.
    std::string pagePath;
    PageEncoding encoding = PageEncoding::Utf8;
    std::array<FieldRule, kFieldCount> fields;  // indexed by MagnetField
    std::string noResults;  // a text only a "nothing found" page holds; empty: none known
    SitePacing pacing;
    friend bool operator==(const MagnetSite&, const MagnetSite&) = default;
};

struct OnlineSite : SiteEntry {
    std::string base;        // scheme://host; the paths are joined to it as it is
    std::string searchPath;  // joined to the base address as it is
    std::string form;        // the posted text; {keyword} as for a magnet page
    PageEncoding encoding = PageEncoding::Utf8;
    std::string hitPattern;              // one match per hit
    std::string detailStart, detailEnd;  // the hit's detail page, after the base
    std::string nameStart, nameEnd;      // the hit's video name
    // When blockStart is set, the items are cut from blockPrefix + the text
    // between blockStart and blockEnd + blockSuffix instead of the whole page.
    std::string blockStart;
    std::string blockEnd;
    std::string blockPrefix;
    std::string blockSuffix;
    std::string itemStart;
    std::string itemEnd;
    FinishSteps info;             // item -> the 数据信息 cell
    FinishSteps addressPath;      // item -> what follows the base in the 网页地址 cell
    bool scrollsNewRows = false;  // follows 保证显示_选择框
    std::string noResults;        // as for a magnet site
    SitePacing pacing;            // the search post and every detail page
    friend bool operator==(const OnlineSite&, const OnlineSite&) = default;
};

// One film field of the board: the i-th match of `pattern` over the page
// belongs to the i-th film, and the field is the text between the markers in it.
struct BoardField {
    std::string pattern;
    std::string startMarker;
    std::string endMarker;
    friend bool operator==(const BoardField&, const BoardField&) = default;
};

struct BoardDefinition {
    std::string base;      // scheme://host; [站点地址] wins over it
    std::string pagePath;  // the board page after the base
    PageEncoding encoding = PageEncoding::Utf8;
    BoardField name;
    BoardField poster;
    BoardField date;
    BoardField score;  // the markers give the integer part
    std::string fractionStart, fractionEnd;
    // Star paragraphs: every text between these markers, in page order.
    std::string starsStart, starsEnd;
    std::string starsLabel;      // the names follow the last one
    std::string starsSeparator;  // a long list is cut at the first one
    friend bool operator==(const BoardDefinition&, const BoardDefinition&) = default;
};

// The roster: every site the program knows, each kind in its places' order
// (the built-in sites first, then the added ones by the byte order of their
// ids), and the board.
struct SiteDefinitions {
    std::vector<MagnetSite> magnet;  // by index
    std::vector<OnlineSite> online;  // by index
    BoardDefinition board;
    friend bool operator==(const SiteDefinitions&, const SiteDefinitions&) = default;
};

// `text` with every {keyword} and {page} replaced.
std::string FillPlaceholders(std::string_view text, std::string_view keyword,
                             std::string_view page);

// A page's bytes, up to the first zero byte, as GBK text.
std::string SitePageText(std::string_view bytes, PageEncoding encoding);

}  // namespace sirelo
