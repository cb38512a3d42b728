// Texts cross to the system as UTF-16 and are UTF-8 everywhere else.
#pragma once

#include <string>

namespace hostwindows {

std::wstring wide(const std::string& utf8);
std::string utf8(const std::wstring& wide);
// The system's text for an error code of GetLastError, with subject (a
// file's name) standing for the "%1" some texts hold.
std::string systemMessage(unsigned long code, const std::string& subject = "the file");

}  // namespace hostwindows
