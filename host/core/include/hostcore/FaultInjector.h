// Makes host calls fail on purpose, for tests: a named suite function on
// its Nth call (or on every call from the Nth), the k-th host call of any
// kind, the acquisition of a named suite, or the basic suite's Nth block
// allocation. Every suite function counts itself in on entry.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "hostapi/HostTypes.h"

namespace hostcore {

enum class FaultRepeat { Once, FromThenOn };

class FaultInjector {
 public:
  // Calls are counted from 1.
  void failCall(const std::string& suite, const std::string& function, uint64_t nth = 1,
                AIErr code = kHostInjectedFaultErr, FaultRepeat repeat = FaultRepeat::Once);
  // The k-th host call counted after this (any suite, any function) fails.
  void failHostCall(uint64_t k, AIErr code = kHostInjectedFaultErr);
  void failAcquisition(const std::string& suite, AIErr code = kHostSuiteNotFoundErr);
  void failBlockAllocation(uint64_t nth, FaultRepeat repeat = FaultRepeat::Once);
  // Drops every armed fault; the counts go on.
  void clear();

  // Entry of every suite function: counts the call and answers the code
  // it must fail with, or 0. Inline, as every call passes it.
  AIErr enterCall(const char* suite, const char* function) {
    ++hostCalls_;
    return callFaults_.empty() && failingHostCall_ == 0 ? kNoErr : armedCall(suite, function);
  }
  AIErr acquisitionFault(const char* suite) const;
  // Counts a block allocation; true when it must fail.
  bool blockAllocationFails();

  uint64_t hostCalls() const { return hostCalls_; }
  uint64_t faultsFired() const { return faultsFired_; }
  // "Suite/Function" of the last call made to fail; empty before any.
  const std::string& lastFailedCall() const { return lastFailedCall_; }

 private:
  struct CallFault {
    std::string suite;
    std::string function;
    uint64_t nth;
    AIErr code;
    FaultRepeat repeat;
    uint64_t seen = 0;
  };
  struct AcquisitionFault {
    std::string suite;
    AIErr code;
  };

  // enterCall with faults armed.
  AIErr armedCall(const char* suite, const char* function);

  std::vector<CallFault> callFaults_;
  std::vector<AcquisitionFault> acquisitionFaults_;
  uint64_t hostCalls_ = 0;
  uint64_t failingHostCall_ = 0;  // 0: none
  AIErr failingHostCallCode_ = kNoErr;
  uint64_t allocations_ = 0;
  uint64_t failingAllocation_ = 0;  // 0: none
  FaultRepeat allocationRepeat_ = FaultRepeat::Once;
  uint64_t faultsFired_ = 0;
  std::string lastFailedCall_;
};

}  // namespace hostcore
