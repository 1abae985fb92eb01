#include "app/feed_check_start.h"

#include <ctime>

#include "app/feed_texts.h"

namespace sirelo {

void StartFeedCheck(const DefinitionLayers& layers, FeedStateView& view, std::int64_t now,
                    const std::function<bool(std::function<void()>)>& startThread) {
    if (!layers.feed) return;
    FeedLineFacts facts{layers.cachedFeed.copy.has_value(), FeedVersionInForce(layers),
                        layers.cachedFeed.state, false};
    view.showFeedState(FeedStateLine(facts, now));
    if (!FeedCheckDue(layers.cachedFeed, *layers.feed, now)) return;
    startThread([&view, facts, paths = layers.feedCache, settings = *layers.feed]() mutable {
        facts.state = UpdateFeed(paths, settings, std::time(nullptr)).state;
        facts.checkedThisRun = true;
        view.showFeedState(FeedStateLine(facts, std::time(nullptr)));
    });
}

}  // namespace sirelo
