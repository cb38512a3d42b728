#include "framework/CheckedCall.h"

#include <cstdint>
#include <vector>

#include "ovlog.h"

namespace {

// The report shows each byte of the code as a character; a zero byte would
// end the text there, so it is shown as '.'.
char VisibleCodeByte(AIErr code, int shift) {
  const char byte = static_cast<char>((static_cast<uint32_t>(code) >> shift) & 0xFFu);
  return byte == '\0' ? '.' : byte;
}

}  // namespace

void ReportErrorBlock(OvStr text) {
  std::vector<OvStr> lines;
  if (!text.Split('\n', lines)) {
    log_info(text.CStr());
    return;
  }
  for (const OvStr& line : lines) log_info(line.CStr());
}

OvStr FormatErrorBlock(const char* title, AIErr code, int line, const char* file,
                       const char* callText) {
  return OvStr("*****\n%s\nError (%c%c%c%c) return at line <%d> in file <%s>\n\t<%s>\n*****", title,
               VisibleCodeByte(code, 24), VisibleCodeByte(code, 16), VisibleCodeByte(code, 8),
               VisibleCodeByte(code, 0), line, file, callText);
}

AIErr RefuseBadArgs(const char* routine, AIErr code) {
  const OvStr text("Bad args to %s", routine);
  log_info(text.CStr());
  return code;
}
