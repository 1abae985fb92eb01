#pragma once
// A magnet row as a Torznab item: what each field of the feed reads from the
// row's cells. Cells are GBK; every text here is UTF-8.

#include <ctime>
#include <optional>
#include <string>
#include <string_view>

namespace sirelo::torznab {

struct TorznabItem {
    std::string title;
    std::string magnetLink;  // guid, link, enclosure and the magneturl attribute
    std::string comments;    // the site's result page the row came from
    std::string indexerId;
    std::string indexerTitle;
    std::string pubDate;                  // RFC 822
    std::optional<long long> size;        // bytes
    std::optional<long long> heat;        // seeders and peers
    std::optional<std::string> infohash;  // 40 lower-case hex digits
};

// The info-hash of a magnet link's "xt=urn:btih:" as 40 lower-case hex digits,
// from its 40-digit hex or 32-digit base32 form; nothing for any other link.
std::optional<std::string> InfoHashOf(std::string_view magnetLink);

// 文件大小 in bytes the way sorting reads it; nothing when it holds no size.
std::optional<long long> SizeInBytes(std::string_view gbkCell);
// 资源热度 as a count, 万 and 亿 understood; nothing when it holds no number.
std::optional<long long> HeatCount(std::string_view gbkCell);
// 创建时间 as "Wed, 03 Jun 2015 00:00:00 +0000" when it reads as a real date
// and time; otherwise `fallback`, the time of the answer, the same way.
std::string PubDate(std::string_view gbkCell, std::time_t fallback);

}  // namespace sirelo::torznab
