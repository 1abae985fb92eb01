#pragma once
// What one page and one list may hold, whatever a site sends: a hostile page
// of tiny items must not become hundreds of thousands of rows, nor a result
// page of endless hits keep its worker fetching detail pages for days.

#include <cstddef>

namespace sirelo {

inline constexpr std::size_t kMaxPageItems = 1000;  // items taken from one page
inline constexpr int kMaxOnlineHits = 100;          // hits followed per result page
inline constexpr int kMaxListRows = 100'000;        // rows kept per result list

}  // namespace sirelo
