#include "torznab_args.h"

#include <charconv>

namespace sirelo::torznab {

TorznabArgs ParseTorznabArgs(const std::vector<std::string>& args) {
    TorznabArgs parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            parsed.help = true;
            continue;
        }
        if (arg != "--bind" && arg != "--port" && arg != "--config-dir")
            throw UsageError("unknown argument " + arg);
        if (i + 1 >= args.size()) throw UsageError(arg + " needs a value");
        const std::string& value = args[++i];
        if (arg == "--bind") {
            if (value.empty()) throw UsageError("--bind needs an address");
            parsed.bind = value;
        } else if (arg == "--port") {
            int port = 0;
            const auto [end, error] =
                std::from_chars(value.data(), value.data() + value.size(), port);
            if (error != std::errc() || end != value.data() + value.size() || port < 1 ||
                port > 65535) {
                throw UsageError("--port wants a number from 1 to 65535, not " + value);
            }
            parsed.port = port;
        } else {
            if (value.empty()) throw UsageError("--config-dir needs a folder");
            parsed.configDir = value;
        }
    }
    return parsed;
}

}  // namespace sirelo::torznab
