#include "xml_tree.h"

#include <expat.h>

namespace sirelo::testing {
namespace {

struct Reader {
    XmlElement root;
    std::vector<XmlElement*> open;
    bool started = false;
};

// expat joins namespace and local name with this separator.
constexpr char kSeparator = '\x01';

std::string ElementTreeName(const char* name) {
    std::string text(name);
    const std::size_t separator = text.find(kSeparator);
    if (separator == std::string::npos) return text;
    return "{" + text.substr(0, separator) + "}" + text.substr(separator + 1);
}

void OnStart(void* data, const char* name, const char** attributes) {
    auto& reader = *static_cast<Reader*>(data);
    XmlElement* element = &reader.root;
    if (reader.started) {
        reader.open.back()->children.push_back(std::make_unique<XmlElement>());
        element = reader.open.back()->children.back().get();
    }
    reader.started = true;
    element->name = ElementTreeName(name);
    for (const char** a = attributes; *a; a += 2)
        element->attributes[ElementTreeName(a[0])] = a[1];
    reader.open.push_back(element);
}

void OnEnd(void* data, const char*) {
    static_cast<Reader*>(data)->open.pop_back();
}

void OnText(void* data, const char* text, int length) {
    auto& reader = *static_cast<Reader*>(data);
    if (!reader.open.empty() && reader.open.back()->children.empty())
        reader.open.back()->text.append(text, static_cast<std::size_t>(length));
}

}  // namespace

const XmlElement* XmlElement::find(std::string_view child) const {
    for (const auto& element : children) {
        if (element->name == child) return element.get();
    }
    return nullptr;
}

std::vector<const XmlElement*> XmlElement::findAll(std::string_view child) const {
    std::vector<const XmlElement*> found;
    for (const auto& element : children) {
        if (element->name == child) found.push_back(element.get());
    }
    return found;
}

const XmlElement* XmlElement::findWith(std::string_view child, std::string_view attribute,
                                       std::string_view value) const {
    for (const XmlElement* element : findAll(child)) {
        const auto found = element->attributes.find(std::string(attribute));
        if (found != element->attributes.end() && found->second == value) return element;
    }
    return nullptr;
}

std::optional<XmlElement> ParseXml(std::string_view document) {
    XML_Parser parser = XML_ParserCreateNS("UTF-8", kSeparator);
    Reader reader;
    XML_SetUserData(parser, &reader);
    XML_SetElementHandler(parser, OnStart, OnEnd);
    XML_SetCharacterDataHandler(parser, OnText);
    const bool parsed = XML_Parse(parser, document.data(), static_cast<int>(document.size()),
                                  XML_TRUE) == XML_STATUS_OK;
    XML_ParserFree(parser);
    if (!parsed || !reader.started) return std::nullopt;
    return std::move(reader.root);
}

}  // namespace sirelo::testing
