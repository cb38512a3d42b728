#ifndef FRAMEWORK_CHECKEDCALL_H
#define FRAMEWORK_CHECKEDCALL_H

// Every call that can fail is checked at once. On a non-zero code the
// enclosing routine writes the five-line report block to the log and returns
// that code unchanged; callers clean up through their destructors.
//
//   CHECK_CALL(sAITimer->SetTimerActive(timer,false));
//   CHECK_CALL_DESC("Unable to get art bbox", sAIArt->GetArtBounds(art,&bounds));

#include "framework/PluginErrors.h"
#include "ovstr/ovstr.h"

// Writes each non-empty line of text as one Info entry of the log.
void ReportErrorBlock(OvStr text);

// The report block for a failed call: title (may be empty), the code's four
// bytes from the most significant, the source line and file, the call's text.
// A zero byte of the code is shown as '.', so the block is never cut short.
OvStr FormatErrorBlock(const char* title, AIErr code, int line, const char* file,
                       const char* callText);

// Argument check at the top of a routine: writes "Bad args to <routine>" as one
// Info entry (no report block) and answers code.
AIErr RefuseBadArgs(const char* routine, AIErr code = kBadParameterErr);

// The call's text is taken here, before any macro inside it is expanded.
#define CHECK_CALL(call) MIRTIL_CHECKED_CALL("", (call), #call)
#define CHECK_CALL_DESC(title, call) MIRTIL_CHECKED_CALL((title), (call), #call)

#define MIRTIL_CHECKED_CALL(title, call, callText)                                      \
  do {                                                                                  \
    const AIErr checkedCallCode = static_cast<AIErr>(call);                             \
    if (checkedCallCode != 0) {                                                         \
      ReportErrorBlock(FormatErrorBlock(title, checkedCallCode, __LINE__, __FILE__, callText)); \
      return checkedCallCode;                                                           \
    }                                                                                   \
  } while (false)

#endif
