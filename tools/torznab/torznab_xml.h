#pragma once
// The documents the server answers with: capabilities, the indexer list, a
// result feed and an error. Texts are UTF-8; scraped text goes in escaped, with
// what XML cannot hold (control characters, broken UTF-8) left out.

#include <string>
#include <string_view>
#include <vector>

#include "torznab_item.h"

namespace sirelo::torznab {

// The numbers the capabilities promise.
inline constexpr int kMaxLimit = 1000;
inline constexpr int kDefaultLimit = 100;
inline constexpr int kMoviesCategory = 2000;

struct IndexerEntry {
    std::string id;
    std::string title;
    std::string link;  // the site's address
};

struct FeedPage {
    std::string description;  // what was left out, if anything
    std::vector<TorznabItem> items;
    int offset = 0;
    int total = 0;  // items before limit and offset
};

// `text` fit for an XML text or attribute value.
std::string XmlEscaped(std::string_view text);

std::string CapsDocument();
std::string IndexersDocument(const std::vector<IndexerEntry>& indexers);
std::string FeedDocument(const FeedPage& page);
// Torznab's error codes: 100 wrong key, 201 incorrect parameter, 202 no such
// function, 900 anything else.
std::string ErrorDocument(int code, std::string_view description);

}  // namespace sirelo::torznab
