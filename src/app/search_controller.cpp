#include "app/search_controller.h"

#include <utility>

#include "app/detached_thread.h"
#include "text/codepage.h"

namespace sirelo {

SearchController::SearchController(RunPorts ports, const SiteDefinitions& definitions,
                                   const LauncherFactory& makeLauncher)
    : ports_(ports),
      settings_(SiteSwitchesOf(definitions)),
      context_{run_,      magnetList_, onlineList_,
               settings_, definitions, [this] { updateStatusBar(); }},
      launcher_(makeLauncher(context_)) {}

void SearchController::startSearch() {
    if (ports_.searchBox.searchText().empty()) {
        ports_.notifier.beep();
        ports_.notifier.showMessage(Utf8ToGbk("请输入电影名称再进行搜索"), Utf8ToGbk("信息："));
        return;
    }
    // Before the panes go idle: a refresh of a worker of the last run, under
    // its lock, is then either already posted or never made.
    if (currentRun_) currentRun_->retire();
    ports_.view.showStatusPanes(IdleStatusPanes());
    auto dispatcher = std::make_shared<Dispatcher>();
    currentRun_ = std::make_shared<RunRecord>(context_.definitions);
    if (!StartDetached([this, dispatcher, lock = currentRun_] {
            runDispatcher(*dispatcher, lock);
            std::lock_guard hold(dispatcher->mutex);
            dispatcher->running = false;
        })) {
        dispatcher->running = false;
    }
    dispatcher_ = std::move(dispatcher);
}

void SearchController::runDispatcher(Dispatcher& dispatcher, const RunLock& lock) {
    run_.startTick = ports_.clock.tickCount();
    resetRun();
    ports_.view.selectTab(1);
    // The thread count would only group the pages into cycles: the interval
    // follows every page and a new cycle adds no pause, so it changes neither
    // the order nor the timing of the dispatches and is not read.
    const int pageCount = settings_.pageCount;
    for (int page = 1; page <= pageCount; ++page) {
        {
            const auto hold = holdUnlessStopped(dispatcher);
            if (!hold) return;
            run_.pageCounter = page;
            StartDetached([this, lock, page] { dispatchPage(lock, page); });
        }
        const auto waitStart = ports_.clock.now();
        const int interval = settings_.intervalMs;
        if (!waitInterval(dispatcher, waitStart + std::chrono::milliseconds(interval))) return;
    }
    {
        const auto hold = holdUnlessStopped(dispatcher);
        if (!hold) return;
        StartDetached([this, lock] { launchOnlineSearch(lock); });
    }
    const auto hold = holdUnlessStopped(dispatcher);
    if (hold) finishRun();
}

void SearchController::resetRun() {
    run_.setKeyword(ports_.searchBox.searchText());
    magnetList_.DeleteAllRows();
    onlineList_.DeleteAllRows();
    run_.pageCounter = 0;
    run_.filteredLinks = 0;
    run_.filteredItems = 0;
    for (auto& exhausted : run_.siteExhausted)
        exhausted = false;
    run_.outcomes.clear();
    ports_.view.setButtonEnabled(RunButton::Pause, true);
    ports_.view.setButtonVisible(RunButton::Stop, true);
    ports_.view.setButtonVisible(RunButton::Pause, true);
    ports_.view.setButtonVisible(RunButton::Search, false);
    ports_.view.setButtonVisible(RunButton::Continue, false);
}

void SearchController::dispatchPage(const RunLock& lock, int page) {
    for (std::size_t site = 0; site < settings_.magnetSites.size(); ++site) {
        if (settings_.magnetSites[site])
            launcher_->startMagnetWorker(lock, static_cast<int>(site), page);
    }
}

void SearchController::launchOnlineSearch(const RunLock& lock) {
    for (std::size_t site = 0; site < settings_.onlineSites.size(); ++site) {
        if (settings_.onlineSites[site]) launcher_->startOnlineWorker(lock, static_cast<int>(site));
    }
}

void SearchController::finishRun() {
    showIdleButtons();
    updateStatusBar();
}

void SearchController::updateStatusBar() {
    std::lock_guard hold(statusMutex_);
    StatusFigures figures;
    figures.elapsedMs = ports_.clock.tickCount() - run_.startTick;
    figures.magnetRows = magnetList_.RowCount();
    figures.onlineRows = onlineList_.RowCount();
    figures.filteredLinks = run_.filteredLinks;
    figures.filteredItems = run_.filteredItems;
    ports_.view.showStatusPanes(RefreshedStatusPanes(figures));
    ports_.view.showOutcomeTips(RunOutcomeTips(run_.outcomes.snapshot(), context_.definitions));
}

void SearchController::pauseRun() {
    if (dispatcher_) {
        std::lock_guard hold(dispatcher_->mutex);
        dispatcher_->paused = true;
    }
    ports_.view.setButtonVisible(RunButton::Pause, false);
    ports_.view.setButtonVisible(RunButton::Continue, true);
}

void SearchController::continueRun() {
    if (dispatcher_) {
        std::lock_guard hold(dispatcher_->mutex);
        dispatcher_->paused = false;
        dispatcher_->changed.notify_all();
    }
    ports_.view.setButtonVisible(RunButton::Pause, true);
    ports_.view.setButtonVisible(RunButton::Continue, false);
}

void SearchController::stopRun() {
    if (currentRun_) currentRun_->closeGates();
    if (isDispatcherRunning()) {
        std::lock_guard hold(dispatcher_->mutex);
        dispatcher_->stopped = true;
        dispatcher_->changed.notify_all();
    }
    showIdleButtons();
}

bool SearchController::isDispatcherRunning() const {
    if (!dispatcher_) return false;
    std::lock_guard hold(dispatcher_->mutex);
    return dispatcher_->running;
}

void SearchController::showIdleButtons() {
    ports_.view.setButtonEnabled(RunButton::Pause, false);
    ports_.view.setButtonVisible(RunButton::Stop, false);
    ports_.view.setButtonVisible(RunButton::Continue, false);
    ports_.view.setButtonVisible(RunButton::Search, true);
    ports_.view.setButtonVisible(RunButton::Pause, true);
}

std::unique_lock<std::mutex> SearchController::holdUnlessStopped(Dispatcher& dispatcher) {
    std::unique_lock hold(dispatcher.mutex);
    dispatcher.changed.wait(hold, [&] { return dispatcher.stopped || !dispatcher.paused; });
    if (dispatcher.stopped) hold.unlock();
    return hold;
}

bool SearchController::waitInterval(Dispatcher& dispatcher,
                                    std::chrono::steady_clock::time_point deadline) {
    std::unique_lock hold(dispatcher.mutex);
    dispatcher.changed.wait_until(hold, deadline, [&] { return dispatcher.stopped; });
    return !dispatcher.stopped;
}

}  // namespace sirelo
