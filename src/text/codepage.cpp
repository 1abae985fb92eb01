#include "text/codepage.h"

#include <iconv.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <utility>

#include "text/text.h"

namespace sirelo {
namespace {

constexpr char16_t kReplacement = u'\uFFFD';
constexpr std::uint16_t kNoMapping = 0;

// Both directions of the GBK mapping, read once from glibc's CP936 converter
// and completed to Windows' code page 936, so that every conversion afterwards
// is a table look-up with no iconv state.
struct GbkTables {
    // Indexed by the two bytes lead * 256 + trail (and by the byte itself for
    // the single bytes 0x80 and 0xFF); kNoMapping where GBK defines nothing.
    std::array<char16_t, 65536> toUnicode{};
    // Indexed by the BMP code point; the GBK bytes as lead * 256 + trail, or a
    // single byte below 0x100; kNoMapping where GBK has no such character.
    std::array<std::uint16_t, 65536> fromUnicode{};
};

// What Windows maps beyond glibc's CP936: the user-defined areas, each read
// lead by lead and trail by trail onto consecutive Private Use code points.
struct UserDefinedArea {
    int firstLead;
    int lastLead;
    int firstTrail;
    int lastTrail;
    char16_t firstCode;
};

constexpr std::array<UserDefinedArea, 3> kUserDefinedAreas{{
    {0xAA, 0xAF, 0xA1, 0xFE, 0xE000},
    {0xF8, 0xFE, 0xA1, 0xFE, 0xE234},
    {0xA1, 0xA7, 0x40, 0xA0, 0xE4C6},  // 0x7F is no trail byte
}};
constexpr int kNoTrail = 0x7F;

// The two-byte codes GBK leaves unassigned outside those areas: Windows maps
// them, in byte order, onto the Private Use code points that follow.
constexpr char16_t kFirstUnassignedCode = 0xE766;
constexpr char16_t kLastUnassignedCode = 0xE864;

// Single bytes: the euro sign, and 0xFF onto the Private Use Area.
constexpr std::array<std::pair<int, char16_t>, 2> kWindowsSingleBytes{{
    {0x80, 0x20AC},
    {0xFF, 0xF8F5},
}};

char16_t ConvertOne(iconv_t cd, const char* bytes, std::size_t length) {
    char in[2] = {bytes[0], length > 1 ? bytes[1] : '\0'};
    char out[8];
    char* inPtr = in;
    char* outPtr = out;
    std::size_t inLeft = length;
    std::size_t outLeft = sizeof out;
    if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) ||
        inLeft != 0 || sizeof out - outLeft != 2) {
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        return kNoMapping;
    }
    return static_cast<char16_t>(static_cast<unsigned char>(out[0]) |
                                 static_cast<unsigned char>(out[1]) << 8);
}

void Map(GbkTables& tables, int bytes, char16_t code) {
    tables.toUnicode[static_cast<std::size_t>(bytes)] = code;
    tables.fromUnicode[code] = static_cast<std::uint16_t>(bytes);
}

void AddWindowsMappings(GbkTables& tables) {
    for (const UserDefinedArea& area : kUserDefinedAreas) {
        char16_t code = area.firstCode;
        for (int lead = area.firstLead; lead <= area.lastLead; ++lead) {
            for (int trail = area.firstTrail; trail <= area.lastTrail; ++trail) {
                if (trail != kNoTrail) Map(tables, lead << 8 | trail, code++);
            }
        }
    }
    char16_t code = kFirstUnassignedCode;
    for (int lead = 0x81; lead <= 0xFE && code <= kLastUnassignedCode; ++lead) {
        for (int trail = 0x40; trail <= 0xFE && code <= kLastUnassignedCode; ++trail) {
            const int bytes = lead << 8 | trail;
            if (trail != kNoTrail &&
                tables.toUnicode[static_cast<std::size_t>(bytes)] == kNoMapping)
                Map(tables, bytes, code++);
        }
    }
    for (const auto& [byte, code] : kWindowsSingleBytes)
        Map(tables, byte, code);
}

std::unique_ptr<GbkTables> BuildTables() {
    auto tables = std::make_unique<GbkTables>();
    iconv_t toUtf16 = iconv_open("UTF-16LE", "CP936");
    iconv_t toGbk = iconv_open("CP936", "UTF-16LE");
    if (toUtf16 == reinterpret_cast<iconv_t>(-1) || toGbk == reinterpret_cast<iconv_t>(-1)) {
        std::abort();  // glibc without its CP936 module cannot run this program at all
    }
    for (int single : {0x80, 0xFF}) {
        const char byte = static_cast<char>(single);
        tables->toUnicode[single] = ConvertOne(toUtf16, &byte, 1);
    }
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
            tables->toUnicode[lead << 8 | trail] = ConvertOne(toUtf16, pair, 2);
        }
    }
    for (int code = 0x80; code <= 0xFFFF; ++code) {
        if (code >= 0xD800 && code <= 0xDFFF) continue;
        const char unit[2] = {static_cast<char>(code & 0xFF), static_cast<char>(code >> 8)};
        char out[4];
        char* inPtr = const_cast<char*>(unit);
        char* outPtr = out;
        std::size_t inLeft = 2;
        std::size_t outLeft = sizeof out;
        if (iconv(toGbk, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) {
            iconv(toGbk, nullptr, nullptr, nullptr, nullptr);
            continue;
        }
        const std::size_t written = sizeof out - outLeft;
        const auto b0 = static_cast<unsigned char>(out[0]);
        const auto b1 = static_cast<unsigned char>(out[1]);
        if (written == 1) tables->fromUnicode[code] = b0;
        if (written == 2) tables->fromUnicode[code] = static_cast<std::uint16_t>(b0 << 8 | b1);
    }
    iconv_close(toUtf16);
    iconv_close(toGbk);
    AddWindowsMappings(*tables);
    return tables;
}

const GbkTables& Tables() {
    static const std::unique_ptr<GbkTables> tables = BuildTables();
    return *tables;
}

bool IsContinuation(unsigned char b) {
    return (b & 0xC0) == 0x80;
}

// Decodes one UTF-8 sequence at `pos`; an invalid byte decodes as U+FFFD and
// consumes itself alone, so conversion always goes on.
char32_t DecodeUtf8(std::string_view s, std::size_t& pos) {
    const auto b0 = static_cast<unsigned char>(s[pos]);
    if (b0 < 0x80) {
        ++pos;
        return b0;
    }
    int length = 0;
    char32_t code = 0;
    char32_t minimum = 0;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        length = 2, code = b0 & 0x1F, minimum = 0x80;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        length = 3, code = b0 & 0x0F, minimum = 0x800;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        length = 4, code = b0 & 0x07, minimum = 0x10000;
    }
    if (length == 0 || pos + static_cast<std::size_t>(length) > s.size()) {
        ++pos;
        return kReplacement;
    }
    for (int i = 1; i < length; ++i) {
        const auto b = static_cast<unsigned char>(s[pos + static_cast<std::size_t>(i)]);
        if (!IsContinuation(b)) {
            ++pos;
            return kReplacement;
        }
        code = code << 6 | (b & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        ++pos;
        return kReplacement;
    }
    pos += static_cast<std::size_t>(length);
    return code;
}

void AppendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | code >> 6));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | code >> 12));
        out.push_back(static_cast<char>(0x80 | (code >> 6 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | code >> 18));
        out.push_back(static_cast<char>(0x80 | (code >> 12 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code >> 6 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

void AppendUtf16(std::u16string& out, char32_t code) {
    if (code < 0x10000) {
        out.push_back(static_cast<char16_t>(code));
    } else {
        code -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 | code >> 10));
        out.push_back(static_cast<char16_t>(0xDC00 | (code & 0x3FF)));
    }
}

// Decodes one GBK character at `pos`; an undefined byte or pair gives U+FFFD
// and consumes one byte, so an ASCII byte after a bad lead byte survives.
char16_t DecodeGbk(const GbkTables& tables, std::string_view s, std::size_t& pos) {
    const auto b0 = static_cast<unsigned char>(s[pos]);
    if (b0 < 0x80) {
        ++pos;
        return b0;
    }
    if (b0 >= 0x81 && b0 <= 0xFE && pos + 1 < s.size()) {
        const auto b1 = static_cast<unsigned char>(s[pos + 1]);
        if (const char16_t code = tables.toUnicode[b0 << 8 | b1]; code != kNoMapping) {
            pos += 2;
            return code;
        }
    }
    ++pos;
    const char16_t single = (b0 == 0x80 || b0 == 0xFF) ? tables.toUnicode[b0] : kNoMapping;
    return single != kNoMapping ? single : kReplacement;
}

void AppendGbk(const GbkTables& tables, std::string& out, char32_t code) {
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
        return;
    }
    const std::uint16_t gbk = code < 0x10000 ? tables.fromUnicode[code] : kNoMapping;
    if (gbk == kNoMapping) {
        out.push_back('?');
    } else if (gbk < 0x100) {
        out.push_back(static_cast<char>(gbk));
    } else {
        out.push_back(static_cast<char>(gbk >> 8));
        out.push_back(static_cast<char>(gbk & 0xFF));
    }
}

// Reads one code point from UTF-16; a lone surrogate reads as U+FFFD.
char32_t DecodeUtf16(std::u16string_view s, std::size_t& pos) {
    const char16_t unit = s[pos++];
    if (unit >= 0xD800 && unit <= 0xDBFF && pos < s.size() && s[pos] >= 0xDC00 &&
        s[pos] <= 0xDFFF) {
        return 0x10000 + (static_cast<char32_t>(unit - 0xD800) << 10) + (s[pos++] - 0xDC00);
    }
    if (unit >= 0xD800 && unit <= 0xDFFF) return kReplacement;
    return unit;
}

// Copies the ASCII run at `pos` straight through: pages are mostly ASCII.
void CopyAsciiRun(std::string_view s, std::size_t& pos, std::string& out) {
    const std::size_t start = pos;
    while (pos < s.size() && static_cast<unsigned char>(s[pos]) < 0x80)
        ++pos;
    out.append(s, start, pos - start);
}

}  // namespace

std::u16string ToUtf16(std::string_view text, CodePage from) {
    std::u16string out;
    out.reserve(text.size());
    if (from == CodePage::Utf8) {
        for (std::size_t pos = 0; pos < text.size();)
            AppendUtf16(out, DecodeUtf8(text, pos));
    } else {
        const GbkTables& tables = Tables();
        for (std::size_t pos = 0; pos < text.size();)
            out.push_back(DecodeGbk(tables, text, pos));
    }
    return out;
}

std::string FromUtf16(std::u16string_view text, CodePage to) {
    std::string out;
    out.reserve(text.size() * (to == CodePage::Utf8 ? 3 : 2));
    if (to == CodePage::Utf8) {
        for (std::size_t pos = 0; pos < text.size();)
            AppendUtf8(out, DecodeUtf16(text, pos));
    } else {
        const GbkTables& tables = Tables();
        for (std::size_t pos = 0; pos < text.size();) {
            AppendGbk(tables, out, DecodeUtf16(text, pos));
        }
    }
    return out;
}

std::string GbkToUtf8(std::string_view gbk) {
    const GbkTables& tables = Tables();
    std::string out;
    out.reserve(gbk.size() + gbk.size() / 2);
    for (std::size_t pos = 0; pos < gbk.size();) {
        CopyAsciiRun(gbk, pos, out);
        if (pos < gbk.size()) AppendUtf8(out, DecodeGbk(tables, gbk, pos));
    }
    return out;
}

std::string Utf8ToGbk(std::string_view utf8) {
    const GbkTables& tables = Tables();
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) {
        CopyAsciiRun(utf8, pos, out);
        if (pos < utf8.size()) AppendGbk(tables, out, DecodeUtf8(utf8, pos));
    }
    return out;
}

std::size_t ValidUtf8Length(std::string_view text) {
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t at = pos;
        // A malformed byte decodes alone as U+FFFD; a written U+FFFD takes three.
        if (DecodeUtf8(text, pos) == kReplacement && pos == at + 1) return at;
    }
    return text.size();
}

std::string GbkCharacter(char32_t code) {
    std::string out;
    AppendGbk(Tables(), out, code);
    return out;
}

std::string PageText(std::string_view bytes) {
    return Utf8ToGbk(TextUpToZero(bytes));
}

std::string Gbk(std::string_view utf8) {
    return Utf8ToGbk(utf8);
}

}  // namespace sirelo
