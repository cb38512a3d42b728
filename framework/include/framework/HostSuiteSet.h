#ifndef FRAMEWORK_HOSTSUITESET_H
#define FRAMEWORK_HOSTSUITESET_H

// The set of host suites a plug-in object holds: creating it acquires every
// suite the plug-in needs, destroying it gives them back.

#include <cstdint>

#include "hostapi/HostTypes.h"

struct ImportedSuite {
  const char* name;     // null ends a list
  int32_t version;
  const void** place;   // the global pointer that receives the suite; may be null
};

class HostSuites {
 public:
  // Acquires all suites; read the outcome with AcquireResult().
  HostSuites();
  // Releases all suites once the acquisition count comes down from 1.
  ~HostSuites();
  HostSuites(const HostSuites&) = delete;
  HostSuites& operator=(const HostSuites&) = delete;

  AIErr AcquireResult() const { return acquireResult_; }

  // How many times the suites have been acquired and not yet released.
  // The owner sets it to exactly 1 after creating the set, so that
  // destroying a partly acquired set releases exactly what was acquired.
  static int32_t AcquisitionCount();
  static void SetAcquisitionCount(int32_t count);

 private:
  AIErr AcquireAll();
  AIErr ReleaseAll();

  AIErr acquireResult_;
};

#endif
