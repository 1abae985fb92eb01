#include "app/site_worker_launcher.h"

#include <utility>

#include "app/detached_thread.h"
#include "sites/magnet_worker.h"
#include "sites/online_worker.h"

namespace sirelo {
namespace {

class SiteWorkerLauncher final : public WorkerLauncher {
  public:
    explicit SiteWorkerLauncher(const WorkerContext& context) : context_(context) {}

    void startMagnetWorker(RunLock lock, int siteIndex, int page) override {
        StartDetached([&context = context_, lock = std::move(lock), siteIndex, page] {
            MagnetSiteWorker(context, lock, siteIndex, page);
        });
    }

    void startOnlineWorker(RunLock lock, int siteIndex) override {
        StartDetached([&context = context_, lock = std::move(lock), siteIndex] {
            OnlineSiteWorker(context, lock, siteIndex);
        });
    }

  private:
    const WorkerContext& context_;
};

}  // namespace

std::unique_ptr<WorkerLauncher> MakeSiteWorkerLauncher(const WorkerContext& context) {
    return std::make_unique<SiteWorkerLauncher>(context);
}

}  // namespace sirelo
