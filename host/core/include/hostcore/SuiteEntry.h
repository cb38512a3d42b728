// The first line of every suite function: finds the active core, counts
// the call and answers an injected fault. Functions answering an error
// code use HOSTCORE_ENTER; the others name the value they answer on
// failure (null, false, 0), or use HOSTCORE_ENTER_VOID.
#pragma once

#include "hostcore/HostCore.h"

#define HOSTCORE_ENTER(suite, function)                                                \
  [[maybe_unused]] ::hostcore::HostCore* const core = ::hostcore::HostCore::current(); \
  if (core == nullptr) return kHostNoDocumentErr;                                      \
  if (const AIErr injected_ = core->faults().enterCall(suite, function)) return injected_

#define HOSTCORE_ENTER_OR(suite, function, failValue)                                  \
  [[maybe_unused]] ::hostcore::HostCore* const core = ::hostcore::HostCore::current(); \
  if (core == nullptr || core->faults().enterCall(suite, function) != kNoErr) return failValue

#define HOSTCORE_ENTER_VOID(suite, function) HOSTCORE_ENTER_OR(suite, function, )
