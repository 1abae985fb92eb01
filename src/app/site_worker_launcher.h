#pragma once
// The launcher of the program: each worker on a detached, counted thread.

#include <memory>

#include "app/run_ports.h"
#include "sites/worker_context.h"

namespace sirelo {

std::unique_ptr<WorkerLauncher> MakeSiteWorkerLauncher(const WorkerContext& context);

}  // namespace sirelo
