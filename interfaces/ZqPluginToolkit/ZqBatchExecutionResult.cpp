#include "ZqBatchExecutionResult.h"

ZqBatchExecutionResult::ZqBatchExecutionResult() = default;
ZqBatchExecutionResult::~ZqBatchExecutionResult() = default;

void ZqBatchExecutionResult::AddResult(ZqExecutionResult* result) {
    // A step that produced no result did not succeed.
    m_results.emplace_back(result ? result
                                  : new ZqExecutionResult(ZqExecutionResult::RETURN_FAILURE));
}

ZqExecutionResult* ZqBatchExecutionResult::GetResultAt(unsigned index) const {
    return index < m_results.size() ? static_cast<ZqExecutionResult*>(m_results[index]) : nullptr;
}

bool ZqBatchExecutionResult::WasSuccessful() const {
    for (const auto& result : m_results) {
        if (result->GetReturnCode() != ZqExecutionResult::RETURN_SUCCESS) {
            return false;
        }
    }
    return true;
}
