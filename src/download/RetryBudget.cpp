#include "download/RetryBudget.h"

namespace retry_budget {

int RetrySingleStream(const std::function<int()>& attempt, const std::function<bool(int)>& beforeRetry) {
    int budget = kBudget;
    int result = attempt();
    while (result != 0) {
        budget -= Cost(result);
        if (budget <= 0 || !beforeRetry(result)) return result;
        result = attempt();
    }
    return result;
}

int RetryPart(const std::function<int()>& attempt, const std::function<bool(int)>& beforeRetry) {
    int budget = kBudget;
    int result = attempt();
    while (result != 0 && budget > 0) {
        if (!beforeRetry(result)) return result;
        budget -= Cost(result);
        result = attempt();
    }
    return result;
}

}  // namespace retry_budget
