#pragma once
// The network settings of Configuration.ini: the optional key 代理 of section
// [网络], read once at start-up and never written.

#include <string>

namespace sirelo {

class AppConfig;

// The value of [网络] 代理 as the file writes it (quotes and blanks taken off),
// empty when the file, the section or the key is missing. Whether it names a
// usable proxy is for SetHttpProxy to judge.
std::string ReadProxySetting(AppConfig& config);

}  // namespace sirelo
