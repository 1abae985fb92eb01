#include "sitedefs/definitions_loader.h"

#include <stdexcept>

// toml++ 3.3 states its parser's preconditions as assumptions, undefined
// behaviour when broken, and some malformed files do break them (upstream
// marzer/tomlplusplus#294). Compiled in here, a broken one throws instead, and
// the file gets a problem.
#define TOML_ASSERT(expr) \
    ((expr) ? static_cast<void>(0) : throw std::invalid_argument("is not valid TOML"))
#include <toml++/toml.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <optional>
#include <set>
#include <type_traits>
#include <utility>

#include "config/site_addresses.h"
#include "config/web_address.h"
#include "sitedefs/table_header_guard.h"
#include "text/codepage.h"
#include "text/regex_matcher.h"
#include "text/text.h"

namespace sirelo {
namespace {

enum class TextKind {
    Marker,    // GBK, not empty
    Label,     // GBK, not empty
    Text,      // GBK, may be empty
    Pattern,   // a GBK regular expression that compiles
    Address,   // http:// or https://, a host and an optional port, as written
    Path,      // as written, not empty
    Template,  // as written, with {keyword} in it
};

long LineOf(const toml::source_region& region) {
    return static_cast<long>(region.begin.line);
}

// What is wrong, in English and in Chinese.
struct Words {
    std::string en;
    std::string zh;
};

const Words kWantsTable = {"wants a table", "应为表"};

// Before the TOML reader's own English words.
constexpr std::string_view kCannotParse = "无法解析：";

struct Problems {
    std::string file;
    std::vector<DefinitionProblem> list;
    std::vector<DefinitionProblem> warnings;
    std::vector<std::string> keys;  // set by the file, of the tables read so far

    void add(long line, std::string key, Words words) {
        list.push_back({file, line, std::move(key), std::move(words.en), std::move(words.zh)});
    }
};

// The value of a text key in the shape `kind` wants; `why` says what is wrong
// with it otherwise.
std::string Convert(const toml::node& node, TextKind kind, Words& why) {
    const toml::value<std::string>* value = node.as_string();
    if (!value) {
        why = {"wants a text in quotes", "应为引号中的文字"};
        return {};
    }
    const std::string& utf8 = value->get();
    if (utf8.find('\0') != std::string::npos) {
        why = {"holds a zero character", "含有零字符"};
        return {};
    }
    switch (kind) {
        case TextKind::Address:
            if (!IsBaseAddress(utf8))
                why = {"wants http:// or https://, a host and an optional port, and nothing else",
                       "应为 http:// 或 https://、主机名和可选的端口，别无其他"};
            return utf8;
        case TextKind::Path:
            if (utf8.empty()) why = {"is empty", "为空"};
            return utf8;
        case TextKind::Template:
            if (utf8.find("{keyword}") == std::string::npos)
                why = {"has no {keyword}", "缺少 {keyword}"};
            return utf8;
        case TextKind::Marker:
        case TextKind::Label:
        case TextKind::Text:
        case TextKind::Pattern:
            break;
    }
    std::string gbk = Utf8ToGbk(utf8);
    if (GbkToUtf8(gbk) != utf8) {
        why = {"holds a character that GBK lacks", "含有 GBK 没有的字符"};
    } else if (kind == TextKind::Label && gbk.empty()) {
        why = {"is empty", "为空"};
    } else if (kind != TextKind::Text && gbk.empty()) {
        why = {"is an empty marker", "是空的标记"};
    } else if (kind == TextKind::Pattern) {
        const std::optional<int> minLength = PatternMinLength(gbk);
        if (!minLength) {
            why = {"is not a regular expression that compiles", "不是能编译的正则表达式"};
        } else if (*minLength == 0) {
            why = {"can match empty text, which would match everywhere",
                   "能匹配空文字，会处处匹配"};
        }
    }
    return gbk;
}

const Words kStepWords = {
    "a step is a table of one key: before, between, after_last, replace, prefix, append, trim or "
    "unescape",
    "步骤是只有一个键的表：before、between、after_last、replace、prefix、append、trim 或 "
    "unescape"};

// One finishing step, written { name = argument }.
std::optional<FinishStep> ReadStep(const toml::node& node, Words& why) {
    const toml::table* table = node.as_table();
    if (!table || table->size() != 1) {
        why = kStepWords;
        return std::nullopt;
    }
    const auto entry = *table->begin();
    const std::string_view step = entry.first.str();
    const toml::node& argument = entry.second;
    auto text = [&](const toml::node& arg, TextKind kind) { return Convert(arg, kind, why); };
    // Two markers, or a find and its replacement.
    auto pair = [&](const toml::node& arg, TextKind second) -> std::vector<std::string> {
        const toml::array* array = arg.as_array();
        if (!array || array->size() != 2) {
            why = {"wants two texts: [\"...\", \"...\"]", "应为两段文字：[\"...\", \"...\"]"};
            return {};
        }
        std::string first = text(*array->get(0), TextKind::Marker);
        return {std::move(first), text(*array->get(1), second)};
    };
    const std::optional<FinishKind> kind = FinishKindNamed(step);
    if (!kind) {
        const std::string quoted = "\"" + std::string(step) + "\"";
        why = {quoted + " is no step; " + kStepWords.en, quoted + " 不是步骤；" + kStepWords.zh};
        return std::nullopt;
    }
    FinishStep read{*kind, {}};
    switch (*kind) {
        case FinishKind::TextBefore:
        case FinishKind::TextAfterLast:
            read.args = {text(argument, TextKind::Marker)};
            break;
        case FinishKind::TextBetween:
            read.args = pair(argument, TextKind::Marker);
            break;
        case FinishKind::Prefix:
        case FinishKind::Append:
            read.args = {text(argument, TextKind::Text)};
            break;
        case FinishKind::Trim:
            if (argument.value_exact<bool>() != true)
                why = {"wants trim = true", "应为 trim = true"};
            break;
        case FinishKind::UnescapeHtml:
            if (argument.value_exact<std::string>() != "html")
                why = {"wants unescape = \"html\"", "应为 unescape = \"html\""};
            break;
        case FinishKind::ReplacePairs: {
            const toml::array* pairs = argument.as_array();
            if (!pairs || pairs->empty()) {
                why = {"wants pairs: [[\"find\", \"replacement\"], ...]",
                       "应为成对的文字：[[\"find\", \"replacement\"], ...]"};
            }
            for (std::size_t i = 0; pairs && i < pairs->size() && why.en.empty(); ++i) {
                for (std::string& arg : pair(*pairs->get(i), TextKind::Text))
                    read.args.push_back(std::move(arg));
            }
            break;
        }
    }
    return read;
}

// One table of the file. It hands out its keys, and at the end names every key
// nobody asked for.
class Table {
  public:
    Table(Problems& problems, const toml::table& table, std::string path)
        : problems_(problems), table_(table), path_(std::move(path)) {}

    long line() const { return LineOf(table_.source()); }
    std::string keyPath(std::string_view key) const { return path_ + "." + KeyText(key); }

    void problem(const toml::node& node, std::string_view key, Words words) {
        problems_.add(LineOf(node.source()), keyPath(key), std::move(words));
    }

    void warning(const toml::node& node, std::string_view key, Words words) {
        problems_.warnings.push_back({problems_.file, LineOf(node.source()), keyPath(key),
                                      std::move(words.en), std::move(words.zh)});
    }

    const toml::node* take(std::string_view key) {
        const toml::node* node = table_.get(key);
        if (taken_.insert(std::string(key)).second && node) problems_.keys.push_back(keyPath(key));
        return node;
    }

    void text(std::string_view key, std::string& out, TextKind kind) {
        const toml::node* node = take(key);
        if (!node) return;
        Words why;
        std::string value = Convert(*node, kind, why);
        if (why.en.empty()) {
            out = std::move(value);
        } else {
            problem(*node, key, std::move(why));
        }
    }

    void flag(std::string_view key, bool& out) {
        const toml::node* node = take(key);
        if (!node) return;
        if (const std::optional<bool> value = node->value_exact<bool>()) {
            out = *value;
        } else {
            problem(*node, key, {"wants true or false", "应为 true 或 false"});
        }
    }

    // A whole number within [0, most].
    void count(std::string_view key, int& out, int most) {
        const toml::node* node = take(key);
        if (!node) return;
        const std::optional<std::int64_t> value = node->value_exact<std::int64_t>();
        if (value && *value >= 0 && *value <= most) {
            out = static_cast<int>(*value);
        } else {
            problem(*node, key,
                    {"wants a whole number from 0 to " + std::to_string(most),
                     "应为 0 到 " + std::to_string(most) + " 的整数"});
        }
    }

    void encoding(std::string_view key, PageEncoding& out) {
        const toml::node* node = take(key);
        if (!node) return;
        const std::string value = ToLowerAscii(node->value_or(std::string()));
        if (value == "utf-8") {
            out = PageEncoding::Utf8;
        } else if (value == "gbk") {
            out = PageEncoding::Gbk;
        } else {
            problem(*node, key, {"wants \"utf-8\" or \"gbk\"", "应为 \"utf-8\" 或 \"gbk\""});
        }
    }

    void steps(std::string_view key, FinishSteps& out) {
        const toml::node* node = take(key);
        if (!node) return;
        const toml::array* array = node->as_array();
        if (!array) {
            problem(*node, key,
                    {"wants a list of steps: [ { before = \"...\" }, ... ]",
                     "应为步骤的列表：[ { before = \"...\" }, ... ]"});
            return;
        }
        FinishSteps steps;
        bool good = true;
        for (std::size_t i = 0; i < array->size(); ++i) {
            const toml::node& element = *array->get(i);
            Words why;
            std::optional<FinishStep> step = ReadStep(element, why);
            if (why.en.empty() && step) {
                steps.push_back(std::move(*step));
            } else {
                problems_.add(LineOf(element.source()),
                              keyPath(key) + "[" + std::to_string(i + 1) + "]", std::move(why));
                good = false;
            }
        }
        if (good) out = std::move(steps);
    }

    // `read` gets the sub-table when the key holds one.
    void sub(std::string_view key, const std::function<void(Table&)>& read) {
        const toml::node* node = take(key);
        if (!node) return;
        const toml::table* table = node->as_table();
        if (!table) {
            problem(*node, key, kWantsTable);
            return;
        }
        Table inner(problems_, *table, keyPath(key));
        read(inner);
        inner.reportUnknownKeys();
    }

    void reportUnknownKeys() {
        for (const auto& [key, node] : table_) {
            if (!taken_.contains(std::string(key.str()))) {
                problems_.add(LineOf(key.source()), keyPath(key.str()),
                              {"is no known key", "不是已知的键"});
            }
        }
    }

  private:
    Problems& problems_;
    const toml::table& table_;
    std::string path_;
    std::set<std::string> taken_;
};

// Checks that a site's values are all there once the file is applied; only a
// file applied over blank definitions (the built-in one) can miss any.
class Completeness {
  public:
    Completeness(Problems& problems, long line, std::string path)
        : problems_(problems), line_(line), path_(std::move(path)) {}
    void need(std::string_view key, const std::string& value) {
        if (value.empty())
            problems_.add(line_, path_ + "." + std::string(key), {"is missing", "缺失"});
    }

  private:
    Problems& problems_;
    long line_;
    std::string path_;
};

// A minute between two requests and a hundred at once are beyond any real need.
void ReadPacing(Table& table, SitePacing& pacing) {
    table.count("delay_ms", pacing.delayMs, 60000);
    table.count("max_in_flight", pacing.maxInFlight, 100);
}

// The keys every site has besides its definition.
void ReadEntry(Table& table, SiteEntry& site) {
    table.text("label", site.label, TextKind::Label);
    table.flag("enabled", site.enabled);
}

void ReadMagnetSite(Table& table, MagnetSite& site) {
    ReadEntry(table, site);
    table.text("base", site.base, TextKind::Address);
    table.text("page", site.pagePath, TextKind::Template);
    if (const toml::node* page = table.take("page");
        page && page->value_or(std::string()) == site.pagePath &&
        site.pagePath.find("{page}") == std::string::npos) {
        table.warning(*page, "page",
                      {"has no {page}, so every result page is the first one",
                       "缺少 {page}，每一页结果都会是第一页"});
    }
    table.encoding("encoding", site.encoding);
    table.text("no_results", site.noResults, TextKind::Text);
    ReadPacing(table, site.pacing);
    for (int f = 0; f < kFieldCount; ++f) {
        table.sub(kFieldKeys[f], [&rule = site.fields[f]](Table& field) {
            field.text("start", rule.startMarker, TextKind::Marker);
            field.text("end", rule.endMarker, TextKind::Marker);
            field.steps("steps", rule.steps);
        });
    }
}

void CheckMagnetSite(Completeness& check, const MagnetSite& site) {
    check.need("base", site.base);
    check.need("page", site.pagePath);
    for (int f = 0; f < kFieldCount; ++f) {
        const std::string field(kFieldKeys[f]);
        check.need(field + ".start", site.fields[f].startMarker);
        check.need(field + ".end", site.fields[f].endMarker);
    }
}

void ReadMarkers(Table& table, std::string& start, std::string& end) {
    table.text("start", start, TextKind::Marker);
    table.text("end", end, TextKind::Marker);
}

void ReadOnlineSite(Table& table, OnlineSite& site) {
    ReadEntry(table, site);
    table.text("base", site.base, TextKind::Address);
    table.text("search", site.searchPath, TextKind::Path);
    table.text("form", site.form, TextKind::Template);
    table.encoding("encoding", site.encoding);
    table.text("hit", site.hitPattern, TextKind::Pattern);
    table.flag("scroll", site.scrollsNewRows);
    table.text("no_results", site.noResults, TextKind::Text);
    ReadPacing(table, site.pacing);
    table.sub("detail", [&](Table& t) { ReadMarkers(t, site.detailStart, site.detailEnd); });
    table.sub("name", [&](Table& t) { ReadMarkers(t, site.nameStart, site.nameEnd); });
    // block = false: the items are cut from the whole page.
    if (const toml::node* block = table.take("block");
        block && block->value_exact<bool>() == false) {
        site.blockStart.clear();
        site.blockEnd.clear();
        site.blockPrefix.clear();
        site.blockSuffix.clear();
    } else {
        table.sub("block", [&](Table& t) {
            ReadMarkers(t, site.blockStart, site.blockEnd);
            t.text("prefix", site.blockPrefix, TextKind::Text);
            t.text("suffix", site.blockSuffix, TextKind::Text);
        });
    }
    table.sub("item", [&](Table& t) {
        ReadMarkers(t, site.itemStart, site.itemEnd);
        t.steps("info", site.info);
        t.steps("address", site.addressPath);
    });
}

void CheckOnlineSite(Completeness& check, const OnlineSite& site) {
    check.need("base", site.base);
    check.need("search", site.searchPath);
    check.need("form", site.form);
    check.need("hit", site.hitPattern);
    check.need("detail.start", site.detailStart);
    check.need("detail.end", site.detailEnd);
    check.need("name.start", site.nameStart);
    check.need("name.end", site.nameEnd);
    if (!site.blockStart.empty()) check.need("block.end", site.blockEnd);
    check.need("item.start", site.itemStart);
    check.need("item.end", site.itemEnd);
}

void ReadBoard(Table& table, BoardDefinition& board) {
    table.text("base", board.base, TextKind::Address);
    table.text("page", board.pagePath, TextKind::Path);
    table.encoding("encoding", board.encoding);
    auto field = [](BoardField& f) {
        return [&f](Table& t) {
            t.text("pattern", f.pattern, TextKind::Pattern);
            ReadMarkers(t, f.startMarker, f.endMarker);
        };
    };
    table.sub("name", field(board.name));
    table.sub("poster", field(board.poster));
    table.sub("date", field(board.date));
    table.sub("score", [&](Table& t) {
        field(board.score)(t);
        t.text("fraction_start", board.fractionStart, TextKind::Marker);
        t.text("fraction_end", board.fractionEnd, TextKind::Marker);
    });
    table.sub("stars", [&](Table& t) {
        ReadMarkers(t, board.starsStart, board.starsEnd);
        t.text("label", board.starsLabel, TextKind::Marker);
        t.text("separator", board.starsSeparator, TextKind::Marker);
    });
}

void CheckBoard(Completeness& check, const BoardDefinition& board) {
    check.need("base", board.base);
    check.need("page", board.pagePath);
    const std::pair<const char*, const BoardField*> fields[] = {{"name", &board.name},
                                                                {"poster", &board.poster},
                                                                {"date", &board.date},
                                                                {"score", &board.score}};
    for (const auto& [key, field] : fields) {
        check.need(std::string(key) + ".pattern", field->pattern);
        check.need(std::string(key) + ".start", field->startMarker);
        check.need(std::string(key) + ".end", field->endMarker);
    }
    check.need("score.fraction_start", board.fractionStart);
    check.need("score.fraction_end", board.fractionEnd);
    check.need("stars.start", board.starsStart);
    check.need("stars.end", board.starsEnd);
    check.need("stars.label", board.starsLabel);
    check.need("stars.separator", board.starsSeparator);
}

// One site's table applied to a copy of its record; the copy replaces the
// record only when the table had no problem. A site's table may say
// `inherit = false`: the copy then starts from nothing but the site's entry.
template <typename Record, typename Read, typename Check>
bool ApplySite(Problems& problems, const toml::node& node, const std::string& path, Record& record,
               Read read, Check check, DefinitionsOrigin origin) {
    const std::size_t before = problems.list.size();
    const std::size_t keysBefore = problems.keys.size();
    const std::size_t warningsBefore = problems.warnings.size();
    const toml::table* table = node.as_table();
    if (!table) {
        problems.add(LineOf(node.source()), path, kWantsTable);
        return false;
    }
    Record changed = record;
    Table reader(problems, *table, path);
    if constexpr (std::is_base_of_v<SiteEntry, Record>) {
        if (const toml::node* inherit = reader.take("inherit")) {
            const std::optional<bool> value = inherit->value_exact<bool>();
            if (!value) {
                reader.problem(*inherit, "inherit", {"wants true or false", "应为 true 或 false"});
            } else if (!*value) {
                changed = Record{};
                static_cast<SiteEntry&>(changed) = record;
            }
        }
    }
    read(reader, changed);
    reader.reportUnknownKeys();
    if (problems.list.size() == before) {
        Completeness completeness(problems, reader.line(), path);
        check(completeness, changed);
    }
    if (problems.list.size() != before) {
        problems.keys.resize(keysBefore);
        problems.warnings.resize(warningsBefore);
        return false;
    }
    if constexpr (std::is_base_of_v<SiteEntry, Record>) {
        if (origin == DefinitionsOrigin::User) changed.userTable = true;
    }
    record = std::move(changed);
    return true;
}

// 1 to 24 characters, each an ASCII letter or digit, "_", "-" or a CJK
// ideograph that GBK has.
bool IsSiteId(std::string_view id) {
    if (Utf8ToGbk(id).empty() || GbkToUtf8(Utf8ToGbk(id)) != id) return false;
    int characters = 0;
    for (std::size_t i = 0; i < id.size(); ++characters) {
        const auto lead = static_cast<unsigned char>(id[i]);
        if (lead < 0x80) {
            const bool word = (lead >= 'A' && lead <= 'Z') || (lead >= 'a' && lead <= 'z') ||
                              (lead >= '0' && lead <= '9') || lead == '_' || lead == '-';
            if (!word) return false;
            ++i;
            continue;
        }
        // GBK has no character beyond three UTF-8 bytes.
        if ((lead & 0xF0) != 0xE0 || i + 3 > id.size()) return false;
        const char32_t code = (char32_t{lead} & 0x0F) << 12 |
                              (char32_t{static_cast<unsigned char>(id[i + 1])} & 0x3F) << 6 |
                              (char32_t{static_cast<unsigned char>(id[i + 2])} & 0x3F);
        const bool ideograph = (code >= 0x3400 && code <= 0x4DBF) ||
                               (code >= 0x4E00 && code <= 0x9FFF) ||
                               (code >= 0xF900 && code <= 0xFAFF);
        if (!ideograph) return false;
        i += 3;
    }
    return characters >= 1 && characters <= 24;
}

// What an added site must not be called, ASCII case ignored: the ids of the
// other sites, the board's key in [站点地址] and the built-in sites' settings keys.
struct TakenIds {
    std::set<std::string> names;
    bool contains(std::string_view id) const { return names.contains(ToLowerAscii(id)); }
    void add(std::string_view id) { names.insert(ToLowerAscii(id)); }
};

// The tables of one kind: a site's id that is not yet known adds a site,
// which must give every key. Added sites follow the others in the byte order
// of their ids.
template <typename Record, typename Read, typename Check>
void ApplySites(Problems& problems, const toml::node& node, std::string_view group,
                std::vector<Record>& records, Read read, Check check, DefinitionsOrigin origin,
                TakenIds& taken) {
    const toml::table* table = node.as_table();
    if (!table) {
        problems.add(LineOf(node.source()), std::string(group), kWantsTable);
        return;
    }
    auto addedSoFar =
        std::count_if(records.begin(), records.end(), [](const Record& r) { return !r.builtIn; });
    std::vector<Record> added;
    for (const auto& [key, site] : *table) {
        const std::string_view id = key.str();
        const std::string path = std::string(group) + "." + KeyText(id);
        const auto record = std::find_if(records.begin(), records.end(),
                                         [&](const Record& r) { return r.id == id; });
        if (record != records.end()) {
            ApplySite(problems, site, path, *record, read, check, origin);
            continue;
        }
        const long line = LineOf(key.source());
        if (!IsSiteId(id)) {
            problems.add(line, path,
                         {"is no site id: 1 to 24 letters, digits, Chinese characters, _ or -",
                          "不是站点名：1 到 24 个字母、数字、汉字、_ 或 -"});
            continue;
        }
        if (taken.contains(id)) {
            problems.add(line, path,
                         {"is the name of another site, ASCII case ignored",
                          "与另一站点同名（不分 ASCII 大小写）"});
            continue;
        }
        if (addedSoFar >= kMaxAddedSites) {
            const std::string most = std::to_string(kMaxAddedSites);
            problems.add(
                line, path,
                {"is one site too many: a file adds at most " + most + " " + std::string(group) +
                     " sites",
                 "站点太多：一个文件最多添加 " + most + " 个 " + std::string(group) + " 站点"});
            continue;
        }
        ++addedSoFar;
        taken.add(id);
        Record fresh;
        fresh.id = std::string(id);
        fresh.label = Utf8ToGbk(id);
        fresh.builtIn = false;
        if (ApplySite(problems, site, path, fresh, read, check, origin))
            added.push_back(std::move(fresh));
    }
    std::sort(added.begin(), added.end(),
              [](const Record& a, const Record& b) { return a.id < b.id; });
    for (Record& site : added) {
        site.index = static_cast<int>(records.size());
        records.push_back(std::move(site));
    }
}

void ApplyRoot(Problems& problems, const toml::table& root, SiteDefinitions& definitions,
               DefinitionsOrigin origin) {
    TakenIds taken;
    taken.add(kBoardAddressKey);
    for (const BuiltInSwitch& builtIn : kBuiltInSwitches)
        taken.add(builtIn.key);
    for (const MagnetSite& site : definitions.magnet)
        taken.add(site.id);
    for (const OnlineSite& site : definitions.online)
        taken.add(site.id);
    for (const auto& [key, node] : root) {
        const std::string_view name = key.str();
        if (name == "magnet") {
            ApplySites(problems, node, name, definitions.magnet, ReadMagnetSite, CheckMagnetSite,
                       origin, taken);
        } else if (name == "online") {
            ApplySites(problems, node, name, definitions.online, ReadOnlineSite, CheckOnlineSite,
                       origin, taken);
        } else if (name == "board") {
            ApplySite(problems, node, "board", definitions.board, ReadBoard, CheckBoard, origin);
        } else if (name == "feed") {
            // A feed's version and the program it needs: ReadFeedHeader.
        } else {
            problems.add(LineOf(key.source()), KeyText(name),
                         {"is no part of a definitions file; the parts are magnet, online and "
                          "board",
                          "不是定义文件的部分；部分有 magnet、online 和 board"});
        }
    }
}

}  // namespace

std::string KeyText(std::string_view key) {
    const bool bare = !key.empty() && std::all_of(key.begin(), key.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
               c == '_' || c == '-';
    });
    return bare ? std::string(key) : "\"" + std::string(key) + "\"";
}

std::string ProblemSite(const DefinitionProblem& problem) {
    const std::string_view key = problem.key;
    if (key == "board" || key.starts_with("board.")) return "board";
    if (!key.starts_with("magnet.") && !key.starts_with("online.")) return {};
    const std::string_view id = key.substr(key.find('.') + 1);
    if (id.starts_with('"')) return std::string(id.substr(1, id.find('"', 1) - 1));
    return std::string(id.substr(0, id.find('.')));
}

std::string DescribeProblem(const DefinitionProblem& problem) {
    std::string text = problem.file;
    if (problem.line > 0) text += ":" + std::to_string(problem.line);
    text += ": ";
    if (!problem.key.empty()) text += problem.key + ": ";
    return text + problem.words;
}

SiteDefinitions BlankSiteDefinitions() {
    SiteDefinitions definitions;
    const auto fill = [](SiteEntry& site, int index, const BuiltInSwitch& builtIn) {
        site.index = index;
        site.id = builtIn.id;
        site.label = Utf8ToGbk(builtIn.id);
        site.enabled = builtIn.formDefault;
    };
    for (const BuiltInSwitch& builtIn : kBuiltInSwitches) {
        if (builtIn.kind == SiteKind::Magnet) {
            const auto index = static_cast<int>(definitions.magnet.size());
            fill(definitions.magnet.emplace_back(), index, builtIn);
        } else {
            const auto index = static_cast<int>(definitions.online.size());
            fill(definitions.online.emplace_back(), index, builtIn);
        }
    }
    return definitions;
}

LoadedDefinitions ApplyDefinitions(const SiteDefinitions& base, std::string_view text,
                                   std::string_view fileName, DefinitionsOrigin origin) {
    LoadedDefinitions loaded;
    loaded.definitions = base;
    Problems problems;
    problems.file = fileName;
    // TOML has no place for a zero byte, and toml++ 3.3 trips over one in a key.
    if (const std::size_t zero = text.find('\0'); zero != text.npos) {
        const auto lines = std::count(text.begin(), text.begin() + zero, '\n');
        problems.add(static_cast<long>(lines) + 1, "", {"holds a zero byte", "含有零字节"});
        loaded.problems = std::move(problems.list);
        return loaded;
    }
    if (const std::size_t valid = ValidUtf8Length(text); valid < text.size()) {
        const auto lines = std::count(text.begin(), text.begin() + static_cast<long>(valid), '\n');
        problems.add(static_cast<long>(lines) + 1, "",
                     {"is not UTF-8: this line is the first that is not (saved as GBK?); save the "
                      "file as UTF-8",
                      "不是 UTF-8：此行是第一处（存成了 GBK？）；请把文件存为 UTF-8"});
        loaded.problems = std::move(problems.list);
        return loaded;
    }
    if (const std::vector<RawCharacter> raw = UnreadableCharacters(text); !raw.empty()) {
        for (const RawCharacter& character : raw) {
            const std::string escaped = "\\u" + character.name.substr(2);
            problems.add(character.line, "",
                         {"holds " + character.name +
                              " as it is, which the TOML reader cannot take; write it as " +
                              escaped + " inside quotes",
                          "直接写了 " + character.name + "，TOML 读取器无法接受；请在引号内写作 " +
                              escaped});
        }
        loaded.problems = std::move(problems.list);
        return loaded;
    }
    if (ShapeProblem shape = FindUnparsableShape(text); shape.line > 0) {
        problems.add(shape.line, "", {std::move(shape.words), std::move(shape.wordsZh)});
        loaded.problems = std::move(problems.list);
        return loaded;
    }
    try {
        const toml::table root = toml::parse(text, fileName);
        SiteDefinitions applied = base;
        ApplyRoot(problems, root, applied, origin);
        loaded.definitions = std::move(applied);
        loaded.warnings = std::move(problems.warnings);
        loaded.fileKeys = {problems.keys.begin(), problems.keys.end()};
    } catch (const toml::parse_error& error) {
        const std::string description(error.description());
        problems.add(LineOf(error.source()), "",
                     {description, std::string(kCannotParse) + description});
    } catch (const std::exception& error) {
        problems.list.clear();
        problems.add(0, "", {error.what(), std::string(kCannotParse) + error.what()});
    }
    std::stable_sort(
        problems.list.begin(), problems.list.end(),
        [](const DefinitionProblem& a, const DefinitionProblem& b) { return a.line < b.line; });
    loaded.problems = std::move(problems.list);
    return loaded;
}

}  // namespace sirelo
