#include "ZqExecutionResult.h"

ZqExecutionResult::ZqExecutionResult(ReturnCode code) : m_eReturnCode(code) {}
ZqExecutionResult::~ZqExecutionResult() = default;
