// One question to Windows per function, answered as a number or a ready-made text: memory,
// version, display device, language, computer and user name, registered owner. A failed query
// gives empty text or 0 unless said otherwise.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace orv {

// GetVersionExA's answer (what the program's manifest lets Windows report); false when it fails.
bool QueryVersion(OSVERSIONINFOA& version);

// Percent of physical memory in use (0 to 100).
std::uint8_t GetMemoryLoad();
// Bytes of physical memory, and of the process's virtual address space; 64-bit, so machines with
// more than 4 GB report their full size.
std::uint64_t GetTotalPhysicalMemory();
std::uint64_t GetTotalVirtualMemory();

// "OS Version 6.1 build 7601".
std::string GetOsVersionText();
// "6.1 (7601.Service Pack 1)"; leaves text unset when the query fails.
void GetOsVersionNumber(std::string& text);
// The device name of the last display device that enumerates (e.g. "\\.\DISPLAY2"); leaves text
// unset when none does.
void GetDisplayDeviceName(std::string& text);
// The display name of the system's default language, e.g. "English (United States)".
std::string GetSystemLanguageName();
std::string GetComputerNameText();
// The user of the current thread; empty when the name does not fit 50 bytes with its NUL.
std::string GetCurrentUserNameText();
// "RegisteredOwner" and "RegisteredOrganization" of the Windows NT "CurrentVersion" key of
// HKLM (default registry view), untrimmed; a missing or non-string value gives empty text. When the
// key does not open both outputs are left as passed.
void GetRegisteredOwner(std::string& owner, std::string& organization);

}  // namespace orv
