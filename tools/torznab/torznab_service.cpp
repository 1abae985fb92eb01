#include "torznab_service.h"

#include <algorithm>
#include <charconv>
#include <ctime>
#include <optional>
#include <unordered_set>
#include <utility>

#include "app/link_checks.h"
#include "sites/magnet_site.h"
#include "sites/worker_context.h"
#include "text/codepage.h"
#include "torznab_xml.h"

namespace sirelo::torznab {
namespace {

using Clock = std::chrono::steady_clock;

const std::string* Param(const QueryParams& params, const std::string& name) {
    const auto found = params.find(name);
    return found == params.end() ? nullptr : &found->second;
}

Reply Xml(std::string body, int status = 200) {
    return {status, "application/xml; charset=utf-8", std::move(body)};
}

Reply Error(int status, int code, std::string_view description) {
    return Xml(ErrorDocument(code, description), status);
}

// A whole number from 0 to 999,999,999; nothing for anything else.
std::optional<int> Count(const std::string& text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || text.size() > 9 || error != std::errc() ||
        end != text.data() + text.size() || value < 0) {
        return std::nullopt;
    }
    return value;
}

// Characters of a UTF-8 text; nothing when it is not UTF-8.
std::optional<std::size_t> Utf8Characters(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t at = 0; at < text.size(); ++count) {
        const auto lead = static_cast<unsigned char>(text[at]);
        const std::size_t length = lead < 0x80             ? 1
                                   : (lead & 0xE0) == 0xC0 ? 2
                                   : (lead & 0xF0) == 0xE0 ? 3
                                   : (lead & 0xF8) == 0xF0 ? 4
                                                           : 0;
        if (length == 0 || at + length > text.size()) return std::nullopt;
        for (std::size_t i = 1; i < length; ++i) {
            if ((static_cast<unsigned char>(text[at + i]) & 0xC0) != 0x80) return std::nullopt;
        }
        at += length;
    }
    return count;
}

// Movies and TV and their sub-categories; a request for anything else finds nothing here.
bool AsksForFilms(const std::string* cat) {
    if (!cat || cat->empty()) return true;
    std::string_view list = *cat;
    while (!list.empty()) {
        const std::size_t comma = list.find(',');
        const std::string one(list.substr(0, comma));
        if (const std::optional<int> category = Count(one);
            category && (*category / 1000 == 2 || *category / 1000 == 5)) {
            return true;
        }
        list = comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
    }
    return false;
}

// The answer once it is there; nothing when the deadline came first or its
// search broke off without one.
std::shared_ptr<const SiteAnswer> Settled(const SharedAnswer& answer, Clock::time_point deadline) {
    if (answer.wait_until(deadline) != std::future_status::ready) return nullptr;
    try {
        return answer.get();
    } catch (const std::future_error&) {
        return nullptr;
    }
}

Reply Feed(FeedPage page) {
    return {200, "application/rss+xml; charset=utf-8", FeedDocument(page)};
}

std::string Description(std::size_t items, std::size_t answered, std::size_t asked, int notMagnet) {
    std::string text = std::to_string(items) + " items from " + std::to_string(answered) + " of " +
                       std::to_string(asked) + " sites";
    if (answered < asked)
        text += "; " + std::to_string(asked - answered) + " sites still searching, left out";
    if (notMagnet > 0)
        text += "; " + std::to_string(notMagnet) + " rows without a magnet link left out";
    return text;
}

}  // namespace

std::vector<ServedSite> EnabledMagnetSites(const SiteDefinitions& definitions,
                                           const LiveSettings& settings) {
    std::vector<ServedSite> sites;
    for (const MagnetSite& site : definitions.magnet) {
        const auto place = static_cast<std::size_t>(site.index);
        if (place >= settings.magnetSites.size() || !settings.magnetSites[place]) continue;
        sites.push_back({site.id, GbkToUtf8(site.label), {SiteKind::Magnet, site.index}});
    }
    return sites;
}

bool SameKey(std::string_view given, std::string_view key) {
    unsigned difference = given.size() == key.size() ? 0 : 1;
    for (std::size_t i = 0; i < key.size(); ++i) {
        const char other = i < given.size() ? given[i] : '\0';
        difference |= static_cast<unsigned char>(key[i] ^ other);
    }
    return difference == 0;
}

TorznabService::TorznabService(ServiceOptions options)
    : options_(std::move(options)), cache_(options_.keepAnswers, options_.maxKeptAnswers) {}

Reply TorznabService::answer(std::string_view indexer, const QueryParams& params) {
    const std::string* key = Param(params, "apikey");
    if (!key || !SameKey(*key, options_.apiKey))
        return Error(401, 100, "Incorrect user credentials");

    std::vector<const ServedSite*> sites;
    for (const ServedSite& site : options_.sites) {
        if (indexer == kAllIndexers || indexer == site.id) sites.push_back(&site);
    }
    if (indexer != kAllIndexers && sites.empty()) return Error(404, 201, "No such indexer");

    const std::string* t = Param(params, "t");
    const std::string function = t ? *t : "search";
    if (function == "caps") return Xml(CapsDocument());
    if (function == "indexers" && indexer == kAllIndexers) {
        std::vector<IndexerEntry> entries;
        for (const ServedSite* site : sites)
            entries.push_back(
                {site->id, site->title, options_.definitions->magnet[site->site.index].base});
        return Xml(IndexersDocument(entries));
    }
    if (function == "search" || function == "movie") return search(sites, params);
    return Error(400, 202, "No such function");
}

Reply TorznabService::search(const std::vector<const ServedSite*>& sites,
                             const QueryParams& params) {
    const Clock::time_point deadline = Clock::now() + options_.answerWithin;
    const std::string* q = Param(params, "q");
    const std::string query = q ? *q : "";
    const std::optional<std::size_t> characters = Utf8Characters(query);
    if (!characters || *characters > kMaxQueryCharacters)
        return Error(400, 201, "Incorrect parameter: q");
    FeedPage page;
    const std::string* limitText = Param(params, "limit");
    const std::string* offsetText = Param(params, "offset");
    const std::optional<int> limit = limitText ? Count(*limitText) : kDefaultLimit;
    const std::optional<int> offset = offsetText ? Count(*offsetText) : 0;
    if (!limit) return Error(400, 201, "Incorrect parameter: limit");
    if (!offset) return Error(400, 201, "Incorrect parameter: offset");
    page.offset = *offset;
    if (query.empty() || !AsksForFilms(Param(params, "cat"))) return Feed(page);

    const std::string keyword = Utf8ToGbk(query);
    std::vector<AnswerCache::Claim> claims;
    SiteSearchOptions run;
    run.definitions = options_.definitions;
    run.keyword = keyword;
    run.lastPage = options_.pages;
    run.exactSearch = options_.exactSearch;
    // Answers are kept per site, so duplicates across sites are dropped below,
    // over whichever sites a request asks.
    run.filterLinks = false;
    run.startThread = options_.startThread;
    std::vector<std::size_t> mine;
    for (std::size_t i = 0; i < sites.size(); ++i) {
        claims.push_back(cache_.claim(sites[i]->id, keyword));
        if (claims.back().promise) {
            mine.push_back(i);
            run.sites.push_back(sites[i]->site);
        }
    }
    if (!mine.empty()) {
        run.timeLimit = std::max(
            std::chrono::milliseconds(1),
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()));
        SiteSearchResult result = SearchSites(run);
        for (std::size_t j = 0; j < mine.size(); ++j) {
            auto answer = std::make_shared<SiteAnswer>();
            answer->rows = std::move(result.sites[j].rows);
            answer->finished = result.sites[j].finished;
            cache_.settle(sites[mine[j]]->id, keyword, claims[mine[j]], std::move(answer));
        }
    }

    const std::time_t now = std::time(nullptr);
    std::unordered_set<std::string> links;
    std::size_t answered = 0;
    int notMagnet = 0;
    std::vector<TorznabItem> items;
    for (std::size_t i = 0; i < sites.size(); ++i) {
        const std::shared_ptr<const SiteAnswer> answer = Settled(claims[i].answer, deadline);
        if (!answer) continue;
        if (answer->finished) ++answered;
        const ServedSite& site = *sites[i];
        const MagnetSite& definition = options_.definitions->magnet[site.site.index];
        for (const FoundRow& row : answer->rows) {
            const std::string& link = row.cells[kMagnetLink];
            if (options_.filterLinks && !links.insert(link).second) continue;
            if (!IsMagnetLink(link)) {
                ++notMagnet;
                continue;
            }
            TorznabItem item;
            item.title = GbkToUtf8(row.cells[kMagnetName]);
            item.magnetLink = GbkToUtf8(link);
            item.comments = MagnetPageUrl(definition, definition.base, keyword, row.page);
            item.indexerId = site.id;
            item.indexerTitle = site.title;
            item.pubDate = PubDate(row.cells[kMagnetCreated], now);
            item.size = SizeInBytes(row.cells[kMagnetSize]);
            item.heat = HeatCount(row.cells[kMagnetHeat]);
            item.infohash = InfoHashOf(link);
            items.push_back(std::move(item));
        }
    }
    page.total = static_cast<int>(items.size());
    page.description = Description(items.size(), answered, sites.size(), notMagnet);
    const std::size_t first = std::min<std::size_t>(items.size(), *offset);
    const std::size_t count =
        std::min<std::size_t>(items.size() - first, std::min(*limit, kMaxLimit));
    page.items.assign(std::make_move_iterator(items.begin() + first),
                      std::make_move_iterator(items.begin() + first + count));
    return Feed(page);
}

}  // namespace sirelo::torznab
