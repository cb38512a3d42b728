/* Everything of the host's programming interface in one include. */
#ifndef MIRTIL_HOSTAPI_HOSTAPI_H
#define MIRTIL_HOSTAPI_HOSTAPI_H
#include "HostMessages.h"
#include "HostSuites.h"
#include "HostTypes.h"
#endif
