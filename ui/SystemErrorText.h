// The system's description of an error code, as the program's messages quote it.
#pragma once

#include <windows.h>

#include <string>

namespace orv {

// FormatMessage's text for code without its trailing blanks, line breaks and periods (the
// message that quotes it adds its own ending); "error 0x..." when the system has none.
std::string SystemErrorText(DWORD code);

}  // namespace orv
