// sirelo-sitecheck subscribe URL KEY | subscribe --off
// sirelo-sitecheck update
// sirelo-sitecheck status

#include <cstdio>
#include <ctime>

#include "check_run.h"
#include "config/app_config.h"
#include "config/feed_settings.h"
#include "sitecheck_modes.h"
#include "sitedefs/definition_layers.h"
#include "sitedefs/minisign.h"

namespace sirelo::sitecheck {
namespace {

std::string LocalTime(std::int64_t seconds) {
    if (seconds <= 0) return "never";
    const std::time_t time = static_cast<std::time_t>(seconds);
    std::tm local{};
    char text[32] = "";
    if (localtime_r(&time, &local) == nullptr) return "?";
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local);
    return text;
}

// Writes both keys of [站点] through the program's settings writer, or removes them.
int RunSubscribe(const std::vector<std::string>& args) {
    AppConfig& config = TheAppConfig();
    if (args.size() == 1 && args[0] == "--off") {
        if (!RemoveFeedSettings(config)) {
            std::fprintf(stderr, "sirelo-sitecheck: %s cannot be written\n",
                         config.configFilePath().c_str());
            return 1;
        }
        std::printf("no feed: the built-in definitions and the user's file apply\n");
        return 0;
    }
    if (args.size() != 2) throw UsageError("subscribe takes an address and a public key, or --off");
    const FeedSettings settings{args[0], args[1]};
    if (const std::string problem = FeedAddressProblem(settings.address); !problem.empty())
        throw UsageError("the address " + problem);
    if (!ReadMinisignKey(settings.publicKey))
        throw UsageError("the key is no minisign public key (the base64 line of its .pub file)");
    if (!WriteFeedSettings(config, settings)) {
        std::fprintf(stderr, "sirelo-sitecheck: %s cannot be written\n",
                     config.configFilePath().c_str());
        return 1;
    }
    std::printf(
        "subscribed to %s; the program fetches it at its next start, "
        "sirelo-sitecheck update at once\n",
        settings.address.c_str());
    return 0;
}

// Fetches the feed now; the first word of the first line says how it went.
int RunUpdate(const std::vector<std::string>& args) {
    const CheckArgs parsed = ParseCheckArgs(args, {});
    if (!parsed.positional.empty()) throw UsageError("update takes no arguments");
    const std::optional<FeedSettings> settings = ReadFeedSettings(TheAppConfig());
    if (!settings) {
        std::printf("refused\nno feed: [站点] 订阅地址 and 订阅公钥 of %s are not both set\n",
                    TheAppConfig().configFilePath().c_str());
        return 1;
    }
    UseProxy(parsed);
    const FeedUpdate update =
        UpdateFeed(FeedCacheIn(TheAppConfig()), *settings, std::time(nullptr));
    std::printf("%s", update.word.c_str());
    if (update.word == "updated" && !update.version.empty())
        std::printf(" %s", TerminalSafe(update.version).c_str());
    std::printf("\n");
    for (const std::string& line : update.details)
        std::printf("%s\n", TerminalSafe(line).c_str());
    return update.word == "updated" || update.word == "unchanged" ? 0 : 1;
}

// The layers in force, bottom first.
int RunStatus(const std::vector<std::string>& args) {
    if (!args.empty()) throw UsageError("status takes no arguments");
    const DefinitionLayers layers = LoadDefinitionLayers(TheAppConfig());
    std::printf("built-in: the definitions of Sirelo %s\n",
                std::string(ProgramVersionText()).c_str());
    if (!layers.feed) {
        std::printf("feed: none ([站点] 订阅地址 and 订阅公钥 not both set)\n");
    } else {
        const CachedFeed& cached = layers.cachedFeed;
        std::printf("feed: %s\n", TerminalSafe(layers.feed->address).c_str());
        if (cached.copy) {
            const std::string version = FeedVersionInForce(layers);
            std::printf("  in force: version %s\n",
                        version.empty() ? "(none named)" : TerminalSafe(version).c_str());
        } else {
            std::printf("  in force: none%s%s\n", cached.whyNotInForce.empty() ? "" : "; ",
                        TerminalSafe(cached.whyNotInForce).c_str());
        }
        if (cached.state) {
            std::printf("  last check: %s, %s%s%s\n", LocalTime(cached.state->checkedAt).c_str(),
                        TerminalSafe(cached.state->result).c_str(),
                        cached.state->details.empty() ? "" : ": ",
                        TerminalSafe(cached.state->details).c_str());
        } else {
            std::printf("  last check: never\n");
        }
    }
    std::printf("user file: %s, %zu problem%s\n", layers.userFile.c_str(),
                layers.userProblems.size(), layers.userProblems.size() == 1 ? "" : "s");
    for (const DefinitionProblem& problem : layers.userProblems)
        std::printf("  %s\n", TerminalSafe(DescribeProblem(problem)).c_str());
    return 0;
}

const bool kSubscribeRegistered = RegisterSitecheckMode(
    {"subscribe", "URL KEY | --off   sets or removes the signed definitions feed", RunSubscribe});
const bool kUpdateRegistered =
    RegisterSitecheckMode({"update",
                           "   fetches the feed now; the first word: updated, unchanged,\n"
                           "      unreachable, bad-signature or refused",
                           RunUpdate});
const bool kStatusRegistered =
    RegisterSitecheckMode({"status", "   prints the layers of definitions in force", RunStatus});

}  // namespace
}  // namespace sirelo::sitecheck
