#pragma once
// How many attempts a download gets. Every attempt draws on a budget of 12: a
// partial transfer (libcurl result 18) costs 1, because the next attempt resumes
// where it ended, any other failure costs 2.

#include <functional>

namespace retry_budget {

inline constexpr int kBudget = 12;
inline constexpr int kPartialFile = 18;

inline int Cost(int result) { return result == kPartialFile ? 1 : 2; }

// `beforeRetry(result)` runs between attempts (log, pause) and returns false
// when the download is being torn down. Both return the last result, 0 on success.

// Single stream: the failure is charged first, and an empty budget ends at once
// (6 attempts of ordinary failures, 12 of partial ones).
int RetrySingleStream(const std::function<int()>& attempt, const std::function<bool(int)>& beforeRetry);

// One part of a multi-part download: another attempt is made while budget is
// left, and charged when it is made (7 attempts, or 13 of partial ones).
int RetryPart(const std::function<int()>& attempt, const std::function<bool(int)>& beforeRetry);

}  // namespace retry_budget
