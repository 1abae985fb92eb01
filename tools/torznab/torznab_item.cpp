#include "torznab_item.h"

#include <array>
#include <cmath>
#include <cstdio>

#include "app/cell_order.h"

namespace sirelo::torznab {
namespace {

constexpr std::string_view kBtih = "xt=urn:btih:";
constexpr std::string_view kBase32 = "ABCDEFGHIJKLMNOPQRSTUVWXYZ234567";
constexpr std::string_view kHex = "0123456789abcdef";

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

std::optional<std::string> FromHex(std::string_view digits) {
    std::string hash;
    for (char c : digits) {
        const char lower = Lower(c);
        if (kHex.find(lower) == std::string_view::npos) return std::nullopt;
        hash += lower;
    }
    return hash;
}

std::optional<std::string> FromBase32(std::string_view digits) {
    std::string hash;
    unsigned buffer = 0;
    int bits = 0;
    for (char c : digits) {
        const std::size_t value =
            kBase32.find(c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c);
        if (value == std::string_view::npos) return std::nullopt;
        buffer = (buffer << 5) | static_cast<unsigned>(value);
        bits += 5;
        while (bits >= 4) {
            bits -= 4;
            hash += kHex[(buffer >> bits) & 0xF];
        }
    }
    return hash;
}

bool LeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static constexpr std::array<int, 12> kDays{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && LeapYear(year) ? 29 : kDays[month - 1];
}

// Days from 1970-01-01 to the date, for the weekday.
long long DaysSinceEpoch(int year, int month, int day) {
    const int y = year - (month <= 2 ? 1 : 0);
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yearOfEra = y - era * 400;
    const int dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return static_cast<long long>(era) * 146097 + dayOfEra - 719468;
}

std::string Rfc822(int year, int month, int day, int hour, int minute, int second) {
    static constexpr std::array<const char*, 7> kWeekdays{"Thu", "Fri", "Sat", "Sun",
                                                          "Mon", "Tue", "Wed"};
    static constexpr std::array<const char*, 12> kMonths{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const long long days = DaysSinceEpoch(year, month, day);
    const long long weekday = ((days % 7) + 7) % 7;
    char text[40];
    std::snprintf(text, sizeof text, "%s, %02d %s %04d %02d:%02d:%02d +0000", kWeekdays[weekday],
                  day, kMonths[month - 1], year, hour, minute, second);
    return text;
}

}  // namespace

std::optional<std::string> InfoHashOf(std::string_view magnetLink) {
    std::size_t at = std::string_view::npos;
    for (std::size_t i = 0; i + kBtih.size() <= magnetLink.size(); ++i) {
        bool same = true;
        for (std::size_t j = 0; j < kBtih.size() && same; ++j)
            same = Lower(magnetLink[i + j]) == kBtih[j];
        if (same) {
            at = i + kBtih.size();
            break;
        }
    }
    if (at == std::string_view::npos) return std::nullopt;
    std::string_view digits = magnetLink.substr(at);
    digits = digits.substr(0, digits.find('&'));
    if (digits.size() == 40) return FromHex(digits);
    if (digits.size() == 32) return FromBase32(digits);
    return std::nullopt;
}

std::optional<long long> SizeInBytes(std::string_view gbkCell) {
    const double bytes = CellValue(CellOrder::Size, gbkCell);
    // Beyond an exabyte is no file size.
    if (bytes == kNoValue || bytes > 1e18) return std::nullopt;
    return std::llround(bytes);
}

std::optional<long long> HeatCount(std::string_view gbkCell) {
    const double count = CellValue(CellOrder::Number, gbkCell);
    if (count == kNoValue || count > 1e15) return std::nullopt;
    return std::llround(count);
}

std::string PubDate(std::string_view gbkCell, std::time_t fallback) {
    const double value = CellValue(CellOrder::Date, gbkCell);
    if (value != kNoValue && value >= 19700101000000.0 && value < 100000000000000.0) {
        auto stamp = static_cast<long long>(value);
        const int second = static_cast<int>(stamp % 100);
        const int minute = static_cast<int>(stamp / 100 % 100);
        const int hour = static_cast<int>(stamp / 10000 % 100);
        const int day = static_cast<int>(stamp / 1000000 % 100);
        const int month = static_cast<int>(stamp / 100000000 % 100);
        const int year = static_cast<int>(stamp / 10000000000);
        if (month >= 1 && month <= 12 && day >= 1 && day <= DaysInMonth(year, month) && hour < 24 &&
            minute < 60 && second < 60) {
            return Rfc822(year, month, day, hour, minute, second);
        }
    }
    std::tm utc{};
    gmtime_r(&fallback, &utc);
    return Rfc822(utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min,
                  utc.tm_sec);
}

}  // namespace sirelo::torznab
