// The General page without its window: the processor brand string, the product-name correction for
// Windows 11, the BIOS and memory values, and the thirteen rows built from injected queries in the
// order the page has always asked them. Platform-neutral; GeneralFacts.h supplies the real queries.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "app/PageSources.h"
#include "lang/LookupFn.h"

namespace orv {

// The monitor row's value when the monitor class has no first device. Spelled "Standart" on
// purpose: stored reports and the tools that read them compare against this exact text.
inline constexpr char kStandardMonitorText[] = "Standart monitor";

inline constexpr int kGeneralRowCount = 13;
using GeneralRows = std::array<std::string, kGeneralRowCount>;

// The brand string from the registers of CPUID leaves 0x80000002..4 (EAX, EBX, ECX, EDX of each,
// every register's bytes from the lowest): 48 characters, trimmed of codes 32 and below at both
// ends.
std::string CpuNameFromRegisters(const std::array<std::uint32_t, 12>& registers);

// Executes CPUID for the three brand leaves (sub-leaf 0). Empty when the processor has no CPUID
// instruction or does not reach leaf 0x80000004, or when this is not an x86 build.
std::optional<std::array<std::uint32_t, 12>> ReadCpuBrandRegisters();

// The build number stored as text ("22631"); 0 when it is empty or not a plain decimal number.
std::uint32_t ParseBuildNumber(std::string_view text);

// Windows 11 keeps "Windows 10 ..." in its ProductName; from build 22000 on, a name that begins
// with "Windows 10" (as a whole word) is shown with "Windows 11" in its place. Other names pass
// unchanged.
std::string CorrectProductName(const std::string& productName, std::uint32_t build);

// The BIOS row's value: version, one space, date (an empty version still gives the space).
std::string BiosValue(const std::string& version, const std::string& date);

// The thirteen rows of Page1Label01 to Page1Label13, queried and looked up in the page's order
// (product id, owner, display adapter, monitor, then row by row, each caption just before its
// value). An exception from a query (a registry value of a type its reader refuses) propagates,
// so no row is handed out half-gathered.
GeneralRows GatherGeneralRows(const GeneralSources& sources, const LookupFn& lookup);

}  // namespace orv
