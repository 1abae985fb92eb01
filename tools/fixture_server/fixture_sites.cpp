#include "fixture_sites.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "config/site_addresses.h"

namespace sirelo::fixtures {
namespace {

using testsupport::HttpResponse;
using testsupport::ReceivedRequest;
using testsupport::Reply;

constexpr std::string_view kNotFoundPage =
    "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>404 Not Found</title></head>"
    "<body><h1>404 Not Found</h1><p>The requested URL was not found on this server.</p>"
    "</body></html>\n";

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("fixture file missing: " + path);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string ContentType(std::string_view file) {
    auto endsWith = [&](std::string_view ending) { return file.ends_with(ending); };
    if (endsWith(".jpg") || endsWith(".jpeg")) return "image/jpeg";
    if (endsWith(".png")) return "image/png";
    if (endsWith(".webp")) return "image/webp";
    if (endsWith(".gif")) return "image/gif";
    return "text/html; charset=utf-8";
}

// "{{BASE}}" in a served file stands for the serving site's own address, so that
// a page can give absolute addresses on its own site (the board's posters).
std::string WithOwnAddress(std::string bytes, std::string_view base) {
    constexpr std::string_view kPlaceholder = "{{BASE}}";
    for (std::size_t at = bytes.find(kPlaceholder); at != std::string::npos;
         at = bytes.find(kPlaceholder, at + base.size())) {
        bytes.replace(at, kPlaceholder.size(), base);
    }
    return bytes;
}

// Replaces every {text} by its encoding.
std::string ExpandBraces(std::string_view text, int lineNumber) {
    std::string expanded;
    while (!text.empty()) {
        const std::size_t open = text.find('{');
        if (open == std::string_view::npos) break;
        const std::size_t close = text.find('}', open);
        if (close == std::string_view::npos) {
            throw std::runtime_error("route table line " + std::to_string(lineNumber) +
                                     ": { without }");
        }
        expanded += text.substr(0, open);
        expanded += EncodeEveryByte(text.substr(open + 1, close - open - 1));
        text.remove_prefix(close + 1);
    }
    expanded += text;
    return expanded;
}

// Splits at runs of spaces and tabs, keeping spaces inside {…} in the field.
std::vector<std::string> Fields(std::string_view line) {
    std::vector<std::string> fields;
    std::string field;
    bool inBraces = false;
    for (char c : line) {
        if (!inBraces && (c == ' ' || c == '\t')) {
            if (!field.empty()) fields.push_back(std::move(field));
            field.clear();
            continue;
        }
        if (c == '{') inBraces = true;
        if (c == '}') inBraces = false;
        field += c;
    }
    if (!field.empty()) fields.push_back(std::move(field));
    return fields;
}

}  // namespace

struct FixtureSites::Site {
    std::string name;
    std::unique_ptr<testsupport::LoopbackServer> server;
};

const std::vector<std::string>& KnownSites() {
    static const std::vector<std::string> sites = {"Btrabbit", "ZZS",        "DSS",     "Btbook",
                                                   "7DDS",     "乐享电影网", "院线热映"};
    return sites;
}

std::string EncodeEveryByte(std::string_view utf8) {
    std::string encoded;
    char group[4];
    for (unsigned char byte : utf8) {
        std::snprintf(group, sizeof group, "%%%02X", byte);
        encoded += group;
    }
    return encoded;
}

std::vector<FixtureRoute> ParseRouteTable(std::string_view text) {
    std::vector<FixtureRoute> routes;
    std::istringstream lines{std::string(text)};
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::vector<std::string> fields = Fields(line);
        if (fields.empty() || fields[0].starts_with('#')) continue;
        if (fields.size() != 4 && fields.size() != 5) {
            throw std::runtime_error("route table line " + std::to_string(number) +
                                     ": want site, method, target, [form,] file");
        }
        FixtureRoute route{fields[0], fields[1], ExpandBraces(fields[2], number), "",
                           fields.back()};
        if (fields.size() == 5) route.form = ExpandBraces(fields[3], number);
        routes.push_back(std::move(route));
    }
    return routes;
}

FixtureSites::FixtureSites(std::string fixturesDir)
    : FixtureSites(fixturesDir, ParseRouteTable(ReadFile(fixturesDir + "/routes.txt"))) {}

FixtureSites::FixtureSites(std::string fixturesDir, const std::vector<FixtureRoute>& routes)
    : fixturesDir_(std::move(fixturesDir)) {
    for (const std::string& site : KnownSites())
        serve(site);
    for (const FixtureRoute& route : routes)
        addRoute(route);
}

FixtureSites::~FixtureSites() {
    for (auto& site : sites_)
        site->server->Stop();
}

void FixtureSites::serve(const std::string& name) {
    auto site = std::make_unique<Site>();
    site->name = name;
    site->server = std::make_unique<testsupport::LoopbackServer>(
        [this, name](const ReceivedRequest& request) { return answer(name, request); });
    // The other sites' handlers look sites up while they answer, under this lock.
    std::lock_guard hold(routesMutex_);
    sites_.push_back(std::move(site));
}

void FixtureSites::addRoute(const FixtureRoute& route) {
    std::string bytes = ReadFile(fixturesDir_ + "/" + route.file);
    {
        std::lock_guard hold(routesMutex_);
        fileBytes_[route.file] = std::move(bytes);
        routes_.push_back(route);
    }
    // Servers start outside the lock: their handlers take it.
    if (!find(route.site)) serve(route.site);
}

Reply FixtureSites::answer(const std::string& site, const ReceivedRequest& request) const {
    std::lock_guard hold(routesMutex_);
    for (auto route = routes_.rbegin(); route != routes_.rend(); ++route) {
        if (route->site != site || route->method != request.method ||
            route->target != request.target) {
            continue;
        }
        if (!route->form.empty() && route->form != request.body) continue;
        const Site* served = find(site);
        return testsupport::Answer(
            HttpResponse(200, WithOwnAddress(fileBytes_.at(route->file), served->server->BaseUrl()),
                         {"Content-Type: " + ContentType(route->file)}));
    }
    return testsupport::Answer(
        HttpResponse(404, kNotFoundPage, {"Content-Type: text/html; charset=utf-8"}));
}

FixtureSites::Site* FixtureSites::find(std::string_view name) const {
    for (const auto& site : sites_) {
        if (site->name == name) return site.get();
    }
    return nullptr;
}

std::vector<std::string> FixtureSites::siteNames() const {
    std::vector<std::string> names;
    for (const auto& site : sites_)
        names.push_back(site->name);
    return names;
}

std::string FixtureSites::baseAddress(std::string_view name) const {
    const Site* site = find(name);
    return site ? site->server->BaseUrl() : std::string();
}

SiteDefinitions FixtureSites::definitions(SiteDefinitions definitions) const {
    for (MagnetSite& site : definitions.magnet)
        site.base = baseAddress(site.id);
    for (OnlineSite& site : definitions.online)
        site.base = baseAddress(site.id) + (site.base.ends_with('/') ? "/" : "");
    definitions.board.base = baseAddress(kBoardAddressKey);
    return definitions;
}

std::string FixtureSites::addressSection(const SiteDefinitions& sites) {
    std::string text = "[站点地址]\r\n";
    for (const MagnetSite& site : sites.magnet)
        text += site.id + "=" + site.base + "\r\n";
    for (const OnlineSite& site : sites.online)
        text += site.id + "=" + site.base + "\r\n";
    return text + kBoardAddressKey + "=" + sites.board.base + "\r\n";
}

std::size_t FixtureSites::requestCount(std::string_view name) const {
    const Site* site = find(name);
    return site ? site->server->RequestCount() : 0;
}

std::size_t FixtureSites::requestCount(std::string_view name, std::string_view target) const {
    const Site* site = find(name);
    return site ? site->server->RequestCount(target) : 0;
}

std::vector<ReceivedRequest> FixtureSites::requests(std::string_view name) const {
    const Site* site = find(name);
    return site ? site->server->Requests() : std::vector<ReceivedRequest>();
}

void FixtureSites::clearRequests() {
    for (auto& site : sites_)
        site->server->ClearRequests();
}

}  // namespace sirelo::fixtures
