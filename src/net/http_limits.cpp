#include "net/http_limits.h"

#include <mutex>

namespace sirelo {

namespace {

std::mutex limitsMutex;
HttpLimits limits;

}  // namespace

HttpLimits CurrentHttpLimits() {
    std::lock_guard guard(limitsMutex);
    return limits;
}

PageBudget PageBudgetFromNow() {
    PageBudget budget;
    budget.deadline =
        PageBudget::Clock::now() + std::chrono::milliseconds(CurrentHttpLimits().deadlineMs);
    return budget;
}

void SetHttpLimits(const HttpLimits& newLimits) {
    std::lock_guard guard(limitsMutex);
    limits = newLimits;
}

}  // namespace sirelo
