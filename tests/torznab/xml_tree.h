#pragma once
// A small XML tree for the tests, read with expat: a document that is not
// well formed gives nothing. Names in a namespace read "{uri}local", the way
// Python's ElementTree names them.

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sirelo::testing {

struct XmlElement {
    std::string name;
    std::map<std::string, std::string> attributes;
    std::string text;  // the text before the first child
    std::vector<std::unique_ptr<XmlElement>> children;

    // The first child of that name; nullptr when there is none.
    const XmlElement* find(std::string_view child) const;
    std::vector<const XmlElement*> findAll(std::string_view child) const;
    // The first child of that name whose attribute `attribute` is `value`.
    const XmlElement* findWith(std::string_view child, std::string_view attribute,
                               std::string_view value) const;
};

std::optional<XmlElement> ParseXml(std::string_view document);

inline constexpr std::string_view kTorznabAttr = "{http://torznab.com/schemas/2015/feed}attr";

}  // namespace sirelo::testing
