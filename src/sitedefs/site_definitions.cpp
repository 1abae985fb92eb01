#include "sitedefs/site_definitions.h"

#include "text/codepage.h"
#include "text/text.h"

namespace sirelo {

std::string FillPlaceholders(std::string_view text, std::string_view keyword,
                             std::string_view page) {
    constexpr std::string_view kKeyword = "{keyword}", kPage = "{page}";
    std::string filled;
    filled.reserve(text.size() + keyword.size());
    for (std::size_t i = 0; i < text.size();) {
        if (text.substr(i).starts_with(kKeyword)) {
            filled += keyword;
            i += kKeyword.size();
        } else if (text.substr(i).starts_with(kPage)) {
            filled += page;
            i += kPage.size();
        } else {
            filled += text[i++];
        }
    }
    return filled;
}

std::string SitePageText(std::string_view bytes, PageEncoding encoding) {
    if (encoding == PageEncoding::Gbk) return std::string(TextUpToZero(bytes));
    return PageText(bytes);
}

}  // namespace sirelo
