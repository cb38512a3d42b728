#ifndef FRAMEWORK_PLUGINERRORS_H
#define FRAMEWORK_PLUGINERRORS_H

// The codes the plug-in itself answers; codes from the host pass through unchanged.

#include "hostapi/HostTypes.h"

constexpr AIErr kOutOfMemoryErr = HOST_FOURCC('!', 'M', 'E', 'M');       // memory could not be had
constexpr AIErr kBadParameterErr = HOST_FOURCC('P', 'A', 'R', 'M');      // bad arguments, or an exception without a code
constexpr AIErr kCantErr = HOST_FOURCC('C', 'A', 'N', 'T');              // the operation could not be done
constexpr AIErr kNoArtInRegionErr = HOST_FOURCC('!', 'I', 'M', 'P');     // the tool's region holds no art to capture
constexpr AIErr kUserCancelledErr = HOST_FOURCC('S', 'T', 'O', 'P');     // the preferences dialog was cancelled
constexpr AIErr kIconNotLoadedErr = HOST_FOURCC('!', 'i', 'c', 'o');     // a tool icon could not be loaded
constexpr AIErr kUnhandledMessageErr = HOST_FOURCC('!', 'M', 'S', 'G');  // no operation handles the message
constexpr AIErr kCachesFlushedErr = HOST_FOURCC('p', 'F', 'l', 's');     // a purge freed memory

#endif
