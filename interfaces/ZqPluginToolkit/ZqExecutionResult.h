#pragma once

#include "ZqApi.h"
#include "ZqRefObject.h"

// The outcome of running one step.
class ZQPLUGINTOOLKIT_API ZqExecutionResult : public ZqRefObject {
public:
    enum ReturnCode { RETURN_SUCCESS = 0, RETURN_FAILURE = 1 };

    explicit ZqExecutionResult(ReturnCode code);
    ~ZqExecutionResult() override;

    ReturnCode GetReturnCode() const { return m_eReturnCode; }

private:
    ReturnCode m_eReturnCode;
};
