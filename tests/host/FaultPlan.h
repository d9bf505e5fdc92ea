#pragma once

#include <string>
#include <vector>

namespace dovrel::test {

// What a refused EnumPortsA leaves in its byte and record counters.
enum class EnumRefusal {
    CountsUntouched,       // both as the caller left them
    NoBytes,               // 0 and 0
    NegativeCounts,        // -1 and -1
    MoreBytesThanOffered,  // the offered size plus one record, no records
    AbsurdRecordCount,     // the offered size, and the largest record count
};

// The faults of every fake of a Harness: once armed with n, the n-th
// operation that any fake is asked for fails, and so does every operation
// whose name starts with `failOn`. The spooler refuses it (false, and for
// EnumPortsA the counters of `enumRefusal`); every other fake raises an
// Error naming it. The failure is also logged as "fault: <operation>".
class FaultPlan {
public:
    void Arm(int n);
    void Disarm() { failAt_ = 0; }

    // Counts one operation; true when it is the one that fails.
    bool Fires(const std::string& operation);
    // Counts one operation and raises the Error when it is the one.
    void RaiseIfFires(const std::string& operation);

    // The operation that failed since the plan was armed; empty until one has.
    const std::string& Failed() const { return failed_; }

    EnumRefusal enumRefusal = EnumRefusal::NoBytes;
    std::string failOn;
    std::vector<std::string>* log = nullptr;

private:
    int failAt_ = 0;  // 0: nothing fails
    int counted_ = 0;
    std::string failed_;
};

// The description of the Error that the plan raises for an operation.
std::wstring InjectedFailure(const std::string& operation);

}  // namespace dovrel::test
