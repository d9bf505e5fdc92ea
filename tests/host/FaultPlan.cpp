#include "tests/host/FaultPlan.h"

#include "platform/Error.h"

namespace dovrel::test {

void FaultPlan::Arm(int n)
{
    failAt_ = n;
    counted_ = 0;
    failed_.clear();
}

bool FaultPlan::Fires(const std::string& operation)
{
    const bool named = !failOn.empty() && operation.rfind(failOn, 0) == 0;
    if (!named && (failAt_ == 0 || ++counted_ != failAt_))
        return false;
    failed_ = operation;
    if (log)
        log->push_back("fault: " + operation);
    return true;
}

void FaultPlan::RaiseIfFires(const std::string& operation)
{
    if (Fires(operation))
        throw Error(kErrSystem, InjectedFailure(operation));
}

std::wstring InjectedFailure(const std::string& operation)
{
    return L"Injected failure of " + std::wstring(operation.begin(), operation.end());
}

}  // namespace dovrel::test
