#include "torznab_xml.h"

#include <cstdint>

namespace sirelo::torznab {
namespace {

constexpr std::string_view kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

// The length of the UTF-8 sequence at `at` when it is well formed and a
// character XML allows; 0 otherwise.
std::size_t AllowedSequence(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80) return lead >= 0x20 || lead == '\t' || lead == '\n' || lead == '\r' ? 1 : 0;
    std::size_t length = 0;
    std::uint32_t code = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, code = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, code = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, code = lead & 0x07;
    } else {
        return 0;
    }
    if (at + length > text.size()) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0) != 0x80) return 0;
        code = (code << 6) | (next & 0x3F);
    }
    static constexpr std::uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    const bool allowed = code >= kSmallest[length] && code <= 0x10FFFF &&
                         !(code >= 0xD800 && code <= 0xDFFF) && code != 0xFFFE && code != 0xFFFF;
    return allowed ? length : 0;
}

std::string Element(std::string_view name, std::string_view text) {
    return "<" + std::string(name) + ">" + XmlEscaped(text) + "</" + std::string(name) + ">";
}

std::string Attr(std::string_view name, std::string_view value) {
    return "<torznab:attr name=\"" + std::string(name) + "\" value=\"" + XmlEscaped(value) + "\"/>";
}

std::string ItemXml(const TorznabItem& item) {
    const std::string category = std::to_string(kMoviesCategory);
    const std::string size = item.size ? std::to_string(*item.size) : "";
    std::string xml = "<item>";
    xml += Element("title", item.title);
    xml += "<guid isPermaLink=\"false\">" + XmlEscaped(item.magnetLink) + "</guid>";
    xml += "<jackettindexer id=\"" + XmlEscaped(item.indexerId) + "\">" +
           XmlEscaped(item.indexerTitle) + "</jackettindexer>";
    xml += Element("comments", item.comments);
    xml += Element("pubDate", item.pubDate);
    if (item.size) xml += Element("size", size);
    xml += Element("link", item.magnetLink);
    xml += Element("category", category);
    xml += "<enclosure url=\"" + XmlEscaped(item.magnetLink) + "\" length=\"" +
           (item.size ? size : "0") +
           "\" type=\"application/x-bittorrent;x-scheme-handler/magnet\"/>";
    xml += Attr("category", category);
    if (item.size) xml += Attr("size", size);
    if (item.heat) {
        xml += Attr("seeders", std::to_string(*item.heat));
        xml += Attr("peers", std::to_string(*item.heat));
    }
    if (item.infohash) xml += Attr("infohash", *item.infohash);
    xml += Attr("magneturl", item.magnetLink);
    xml += "</item>\n";
    return xml;
}

}  // namespace

std::string XmlEscaped(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = AllowedSequence(text, at);
        if (length == 0) {
            ++at;
            continue;
        }
        switch (text[at]) {
            case '&':
                escaped += "&amp;";
                break;
            case '<':
                escaped += "&lt;";
                break;
            case '>':
                escaped += "&gt;";
                break;
            case '"':
                escaped += "&quot;";
                break;
            case '\'':
                escaped += "&apos;";
                break;
            case '\t':
                escaped += "&#9;";
                break;
            case '\n':
                escaped += "&#10;";
                break;
            case '\r':
                escaped += "&#13;";
                break;
            default:
                escaped.append(text.substr(at, length));
        }
        at += length;
    }
    return escaped;
}

std::string CapsDocument() {
    return std::string(kDeclaration) +
           "<caps>\n"
           "<server title=\"Sirelo\"/>\n"
           "<limits max=\"" +
           std::to_string(kMaxLimit) + "\" default=\"" + std::to_string(kDefaultLimit) +
           "\"/>\n"
           "<searching>\n"
           "<search available=\"yes\" supportedParams=\"q\"/>\n"
           "<tv-search available=\"no\" supportedParams=\"q\"/>\n"
           "<movie-search available=\"yes\" supportedParams=\"q\"/>\n"
           "</searching>\n"
           "<categories>\n"
           "<category id=\"2000\" name=\"Movies\">\n"
           "<subcat id=\"2030\" name=\"Movies/SD\"/>\n"
           "<subcat id=\"2040\" name=\"Movies/HD\"/>\n"
           "<subcat id=\"2045\" name=\"Movies/UHD\"/>\n"
           "</category>\n"
           "<category id=\"5000\" name=\"TV\"/>\n"
           "</categories>\n"
           "</caps>\n";
}

std::string IndexersDocument(const std::vector<IndexerEntry>& indexers) {
    std::string xml = std::string(kDeclaration) + "<indexers>\n";
    for (const IndexerEntry& indexer : indexers) {
        xml += "<indexer id=\"" + XmlEscaped(indexer.id) + "\" configured=\"true\">";
        xml += Element("title", indexer.title);
        xml += Element("link", indexer.link);
        xml += Element("language", "zh-CN");
        xml += Element("type", "public");
        xml += "</indexer>\n";
    }
    xml += "</indexers>\n";
    return xml;
}

std::string FeedDocument(const FeedPage& page) {
    std::string xml = std::string(kDeclaration) +
                      "<rss version=\"2.0\" xmlns:atom=\"http://www.w3.org/2005/Atom\" "
                      "xmlns:torznab=\"http://torznab.com/schemas/2015/feed\">\n<channel>\n";
    xml += Element("title", "Sirelo");
    xml += Element("description", page.description);
    xml += "\n<torznab:response offset=\"" + std::to_string(page.offset) + "\" total=\"" +
           std::to_string(page.total) + "\"/>\n";
    for (const TorznabItem& item : page.items)
        xml += ItemXml(item);
    xml += "</channel>\n</rss>\n";
    return xml;
}

std::string ErrorDocument(int code, std::string_view description) {
    return std::string(kDeclaration) + "<error code=\"" + std::to_string(code) +
           "\" description=\"" + XmlEscaped(description) + "\"/>\n";
}

}  // namespace sirelo::torznab
