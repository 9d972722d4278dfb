#pragma once

#include "ZqExecutionResult.h"
#include "ZqPointer.h"

#include <vector>

// The outcome of running a whole script: one result per step, in step order.
class ZQPLUGINTOOLKIT_API ZqBatchExecutionResult : public ZqRefObject {
public:
    ZqBatchExecutionResult();
    ~ZqBatchExecutionResult() override;

    void AddResult(ZqExecutionResult* result);
    unsigned GetResultCount() const { return static_cast<unsigned>(m_results.size()); }
    ZqExecutionResult* GetResultAt(unsigned index) const;

    // True when every step succeeded (an empty script succeeds).
    bool WasSuccessful() const;

private:
    std::vector<ZqPointer<ZqExecutionResult>> m_results;
};
