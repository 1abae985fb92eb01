#include "sitedefs/feed_update.h"

#include "config/profile_file.h"
#include "net/conditional_fetch.h"
#include "sitedefs/minisign.h"
#include "sitedefs/program_definitions.h"

namespace sirelo {
namespace {

// Why a transfer gave no file: "http 404", or the transfer's word and libcurl's.
std::string Unreachable(const ConditionalAnswer& answer) {
    if (answer.outcome.end == TransferEnd::Answered)
        return "http " + std::to_string(answer.outcome.httpStatus);
    std::string words = OutcomeWord(answer.outcome);
    if (!answer.outcome.words.empty()) words += ": " + answer.outcome.words;
    return words;
}

}  // namespace

CachedFeed ReadCachedFeed(const FeedCachePaths& paths, const FeedSettings& settings) {
    CachedFeed cached;
    cached.state = ReadFeedState(paths);
    const std::optional<std::string> file = ReadWholeFile(paths.file);
    if (!file) return cached;
    if (!cached.state || cached.state->address != settings.address) {
        cached.whyNotInForce = "the cached copy is from another address";
        return cached;
    }
    const std::optional<std::string> signature = ReadWholeFile(paths.signature);
    CheckedFeed checked = CheckFeed(BuiltInSiteDefinitions(), *file, signature.value_or(""),
                                    settings.publicKey, paths.file);
    if (checked.verdict != FeedVerdict::Taken) {
        cached.whyNotInForce = "the cached copy is not used: " + checked.problems.front();
        return cached;
    }
    cached.copy = std::move(checked);
    return cached;
}

bool FeedCheckDue(const CachedFeed& cached, const FeedSettings& settings, std::int64_t now) {
    if (!cached.copy || !cached.state || cached.state->address != settings.address) return true;
    const std::int64_t checked = cached.state->checkedAt;
    return checked > now || now - checked >= kFeedCheckInterval;
}

FeedUpdate UpdateFeed(const FeedCachePaths& paths, const FeedSettings& settings, std::int64_t now) {
    const CachedFeed cached = ReadCachedFeed(paths, settings);
    FeedUpdate update;
    FeedState& state = update.state;
    if (cached.copy) {
        state = *cached.state;
        update.version = cached.copy->version;
    }
    state.address = settings.address;
    state.checkedAt = now;
    state.version = update.version;
    const auto finish = [&](std::string word, std::vector<std::string> details) {
        update.word = std::move(word);
        update.details = std::move(details);
        state.result = update.word;
        state.details = update.details.empty() ? "" : update.details.front();
        WriteFeedState(paths, state);
        return update;
    };
    if (const std::string problem = FeedAddressProblem(settings.address); !problem.empty())
        return finish("refused", {"Configuration.ini: [站点] 订阅地址: " + problem});

    ConditionalGet get{settings.address, {}, {}, kFeedFileLimit};
    if (cached.copy) {
        get.etag = cached.state->etag;
        get.lastModified = cached.state->lastModified;
    }
    const ConditionalAnswer file = FetchIfChanged(get);
    if (file.tooLarge) return finish("refused", {"the file is larger than 1 MiB"});
    if (file.outcome.end == TransferEnd::Answered && file.outcome.httpStatus == 304 &&
        cached.copy) {
        return finish("unchanged", {});
    }
    if (file.outcome.end != TransferEnd::Answered || file.outcome.httpStatus != 200)
        return finish("unreachable", {Unreachable(file)});
    const ConditionalAnswer signature =
        FetchIfChanged({settings.address + ".minisig", {}, {}, kSignatureFileLimit});
    if (signature.tooLarge)
        return finish("bad-signature", {"the signature file is larger than 4 KiB"});
    if (signature.outcome.end != TransferEnd::Answered || signature.outcome.httpStatus != 200)
        return finish("unreachable", {"signature: " + Unreachable(signature)});

    const CheckedFeed checked = CheckFeed(BuiltInSiteDefinitions(), file.body, signature.body,
                                          settings.publicKey, settings.address);
    if (checked.verdict == FeedVerdict::BadSignature)
        return finish("bad-signature", checked.problems);
    if (checked.verdict == FeedVerdict::Refused) return finish("refused", checked.problems);
    const std::optional<std::string> old = ReadWholeFile(paths.file);
    const bool same = cached.copy && old == file.body;
    if (!same && !WriteFeedCopy(paths, file.body, signature.body))
        return finish("refused", {"the copy could not be written to " + paths.folder});
    state.etag = file.etag;
    state.lastModified = file.lastModified;
    update.version = state.version = checked.version;
    if (same) return finish("unchanged", {});
    return finish("updated", {});
}

}  // namespace sirelo
