#include "hostcore/FaultInjector.h"

#include <algorithm>

namespace hostcore {

void FaultInjector::failCall(const std::string& suite, const std::string& function, uint64_t nth, AIErr code,
                             FaultRepeat repeat) {
  callFaults_.push_back(CallFault{suite, function, std::max<uint64_t>(nth, 1), code, repeat});
}

void FaultInjector::failHostCall(uint64_t k, AIErr code) {
  failingHostCall_ = hostCalls_ + std::max<uint64_t>(k, 1);
  failingHostCallCode_ = code;
}

void FaultInjector::failAcquisition(const std::string& suite, AIErr code) {
  acquisitionFaults_.push_back(AcquisitionFault{suite, code});
}

void FaultInjector::failBlockAllocation(uint64_t nth, FaultRepeat repeat) {
  failingAllocation_ = allocations_ + std::max<uint64_t>(nth, 1);
  allocationRepeat_ = repeat;
}

void FaultInjector::clear() {
  callFaults_.clear();
  acquisitionFaults_.clear();
  failingHostCall_ = 0;
  failingAllocation_ = 0;
}

AIErr FaultInjector::armedCall(const char* suite, const char* function) {
  AIErr code = kNoErr;
  if (hostCalls_ == failingHostCall_) code = failingHostCallCode_;
  for (CallFault& fault : callFaults_) {
    if (fault.suite != suite || fault.function != function) continue;
    ++fault.seen;
    const bool due = fault.repeat == FaultRepeat::Once ? fault.seen == fault.nth : fault.seen >= fault.nth;
    if (due && code == kNoErr) code = fault.code;
  }
  if (code != kNoErr) {
    ++faultsFired_;
    lastFailedCall_ = std::string(suite) + "/" + function;
  }
  return code;
}

AIErr FaultInjector::acquisitionFault(const char* suite) const {
  for (const AcquisitionFault& fault : acquisitionFaults_)
    if (fault.suite == suite) return fault.code;
  return kNoErr;
}

bool FaultInjector::blockAllocationFails() {
  ++allocations_;
  if (failingAllocation_ == 0) return false;
  const bool fails =
      allocationRepeat_ == FaultRepeat::Once ? allocations_ == failingAllocation_ : allocations_ >= failingAllocation_;
  if (fails) {
    ++faultsFired_;
    lastFailedCall_ = "SP Basic Suite/AllocateBlock";
  }
  return fails;
}

}  // namespace hostcore
