#pragma once
// The definitions feed at start-up: its state for the window, and the one
// background check a day. The check never delays the window: it runs on a
// detached thread of its own, only writes the feed's cache and posts the new
// state. What it fetches takes effect at the next start.

#include <cstdint>
#include <functional>
#include <string>

#include "sitedefs/definition_layers.h"

namespace sirelo {

// Takes the feed's line (GBK) on any thread; an empty line: no feed.
class FeedStateView {
  public:
    virtual ~FeedStateView() = default;
    virtual void showFeedState(const std::string& line) = 0;
};

// Window thread, after the window exists and before the message loop. Shows
// the state of the layers in force and, when a check is due, starts it
// through `startThread`. `view` must outlive the thread (the window does: it
// lives until the process ends).
void StartFeedCheck(const DefinitionLayers& layers, FeedStateView& view, std::int64_t now,
                    const std::function<bool(std::function<void()>)>& startThread);

}  // namespace sirelo
