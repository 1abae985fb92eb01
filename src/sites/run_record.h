#pragma once
// One search run as its workers hold it: the lock that serialises every
// test-and-insert of a row, whether the run is still the current one, and the
// pacing gate of each of its sites. Workers share ownership, so a record lives
// while any worker of its run may use it.

#include <deque>
#include <mutex>

#include "sitedefs/site_definitions.h"
#include "sites/site_gate.h"

namespace sirelo {

class RunRecord {
  public:
    RunRecord() = default;  // no site paced
    explicit RunRecord(const SiteDefinitions& definitions);
    RunRecord(const RunRecord&) = delete;
    RunRecord& operator=(const RunRecord&) = delete;

    // Held around each test-and-insert of a row, each outcome recorded and
    // each status refresh, never across a request.
    std::mutex lock;
    // Read and written under `lock`. A worker of a run that is no longer
    // current adds no row, counts nothing, records nothing and refreshes
    // nothing: the lists and panes belong to a newer search.
    bool current = true;

    // Any thread; takes `lock`.
    bool isCurrent();
    // Window thread, when a new search starts: the run stops being current,
    // under its lock so that no insert of its workers is half done, and every
    // wait at its gates ends.
    void retire();
    // Window thread, at a stop: waits at the gates end; rows still count.
    void closeGates();

    // Worker threads. An index without a definition gets a gate that never waits.
    SiteGate& magnetGate(int siteIndex);
    SiteGate& onlineGate(int siteIndex);

  private:
    std::deque<SiteGate> magnetGates_;
    std::deque<SiteGate> onlineGates_;
    SiteGate unpaced_;
};

}  // namespace sirelo
