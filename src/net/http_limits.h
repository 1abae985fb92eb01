#pragma once
// Bounds on every transfer, so that a dead or hostile site can neither hang a
// worker nor fill memory. Tests lower them; the program keeps the defaults.
//
// Time: a transfer ends at the latest after `deadlineMs`, whatever the site
// does; earlier when connecting takes `connectTimeoutMs`, when no byte comes
// for `stallTimeoutMs`, or when fewer than `lowSpeedBytesPerSecond` arrive on
// average over `lowSpeedSeconds` (a site trickling a byte every few seconds).
//
// Memory: one body holds at most `maxBodyBytes`. Every body's first
// `unbudgetedBytes` are its own; anything beyond comes out of one
// process-wide budget of `budgetBytes`, shared by all transfers in flight.
// A transfer that finds the budget spent is cut there, so big bodies cannot
// crowd out the small pages of healthy sites. What the bodies hold at once
// is at most budgetBytes + transfers × unbudgetedBytes.

#include <cstddef>

#include "text/page_budget.h"

namespace sirelo {

struct HttpLimits {
    long connectTimeoutMs = 30'000;
    long stallTimeoutMs = 30'000;  // no byte for this long ends the transfer, keeping what arrived
    long lowSpeedBytesPerSecond = 1024;
    long lowSpeedSeconds = 30;
    long deadlineMs = 90'000;
    std::size_t maxBodyBytes = 4u << 20;  // the body is cut here
    std::size_t unbudgetedBytes = 256u << 10;
    std::size_t budgetBytes = 64u << 20;
    long maxRedirects = 20;
};

HttpLimits CurrentHttpLimits();
void SetHttpLimits(const HttpLimits& limits);

// The budget of a page whose transfer starts now: cutting it counts against
// the transfer's deadline.
PageBudget PageBudgetFromNow();

// Bytes of the shared budget that transfers in flight hold now.
std::size_t BudgetedBodyBytes();

}  // namespace sirelo
