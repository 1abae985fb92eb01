#pragma once
// URL and cookie routines on GBK texts.

#include <string>
#include <string_view>

#include "text/text.h"

namespace sirelo {

std::string UrlHost(std::string_view url, bool keepPort = false);
int UrlPort(std::string_view url);
std::string UrlPath(std::string_view url);
std::string AgentFromHeaders(std::string_view headers);
std::string CookieName(std::string_view entry);
bool HasCookieNamed(const TextList& entries, std::string_view name);
std::string MergeCookies(std::string_view oldCookies, std::string_view newCookies);
std::string RemoveDuplicates(std::string_view text, std::string_view separator);
int IndexOfText(const TextList& list, std::string_view text);

}  // namespace sirelo
