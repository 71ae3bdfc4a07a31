// The General page's questions to Windows: the processor name and the thirteen rows gathered with
// the registry helpers and the system facts. No window is touched.
#pragma once

#include <string>

#include "pages/GeneralText.h"

namespace orv {

// The processor brand string of CPUID leaves 0x80000002..4, trimmed. On a processor without those
// leaves (or with an empty brand string) the name Windows recorded in
// HKLM\HARDWARE\DESCRIPTION\System\CentralProcessor\0 ("ProcessorNameString", then "Identifier").
std::string GetCpuName();

// The build number of the running Windows: "CurrentBuildNumber" of the CurrentVersion key, or
// GetVersionExA's when that value is missing or not a number.
std::uint32_t GetOsBuildNumber();

// The real queries of the page.
GeneralSources SystemGeneralSources();

// Page1Show's thirteen rows with the real queries and the given language lookup.
GeneralRows GatherGeneralRows(const LookupFn& lookup);

}  // namespace orv
