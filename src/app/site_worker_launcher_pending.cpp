// Stands in for site_worker_launcher.cpp while the sites library has no
// workers yet (CMake picks one of the two): the run goes through its pages and
// starts nothing. Remove this file once the workers are in.
#include "app/site_worker_launcher.h"

namespace sirelo {
namespace {

class NoWorkerLauncher final : public WorkerLauncher {
  public:
    void startMagnetWorker(RunLock, int, int) override {}
    void startOnlineWorker(RunLock, int) override {}
};

}  // namespace

std::unique_ptr<WorkerLauncher> MakeSiteWorkerLauncher(const WorkerContext&) {
    return std::make_unique<NoWorkerLauncher>();
}

}  // namespace sirelo
