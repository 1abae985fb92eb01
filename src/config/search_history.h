#pragma once
// The names searched for, newest first: at most 50, each once, kept in
// history.txt in the configuration folder (UTF-8, one name a line) and
// replaced atomically at every change. The file is the user's, so it is read
// within bounds like the settings file.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace sirelo {

inline constexpr std::size_t kHistoryLimit = 50;
// A longer line is no name anyone typed; it is left out.
inline constexpr std::size_t kHistoryNameLimit = 1000;

// The names in the file, in its order; empty lines, duplicates and names past
// the limit left out. Nothing for a file that cannot be read.
std::vector<std::string> ReadSearchHistory(const std::string& path);

// `history` with `name` first and no second copy of it, cut at the limit.
std::vector<std::string> WithSearchName(std::vector<std::string> history, std::string_view name);

// The names that start with `prefix`, ASCII case ignored, in their order.
std::vector<std::string> NamesStartingWith(const std::vector<std::string>& history,
                                           std::string_view prefix);

// False when the file could not be replaced; it is then as it was.
bool WriteSearchHistory(const std::string& path, const std::vector<std::string>& history);

}  // namespace sirelo
