#pragma once
// What the server answers, apart from HTTP: the key check, the capabilities,
// the indexer list and the search feed, from a request's indexer and query
// parameters. Searches run through the program's own search routine and their
// answers are kept per site and name.

#include <chrono>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "answer_cache.h"
#include "config/live_settings.h"
#include "sitedefs/site_definitions.h"
#include "sites/site_search.h"

namespace sirelo::torznab {

// A magnet site the server offers as an indexer.
struct ServedSite {
    std::string id;     // UTF-8, the <id> of its path
    std::string title;  // UTF-8
    SiteRef site;
};

// The enabled magnet sites, in their order.
std::vector<ServedSite> EnabledMagnetSites(const SiteDefinitions& definitions,
                                           const LiveSettings& settings);

struct ServiceOptions {
    // Addresses applied; lives as long as the process.
    const SiteDefinitions* definitions = nullptr;
    std::vector<ServedSite> sites;
    int pages = 10;  // 搜索页数
    bool exactSearch = true;
    bool filterLinks = true;
    std::string apiKey;
    std::chrono::milliseconds answerWithin{30'000};
    std::chrono::seconds keepAnswers{600};
    std::size_t maxKeptAnswers = 2000;
    ThreadStarter startThread;
};

inline constexpr std::size_t kMaxQueryCharacters = 200;
inline constexpr std::string_view kAllIndexers = "all";

using QueryParams = std::multimap<std::string, std::string>;

struct Reply {
    int status = 200;
    std::string contentType;
    std::string body;
};

// Constant time in the length of `key`, whatever `given` is.
bool SameKey(std::string_view given, std::string_view key);

class TorznabService {
  public:
    explicit TorznabService(ServiceOptions options);

    // `indexer` is a served site's id or kAllIndexers. Any thread, several at once.
    Reply answer(std::string_view indexer, const QueryParams& params);

  private:
    Reply search(const std::vector<const ServedSite*>& sites, const QueryParams& params);

    const ServiceOptions options_;
    AnswerCache cache_;
};

}  // namespace sirelo::torznab
