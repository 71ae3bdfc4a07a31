// The two forms in which the program writes the Windows version, built from the fields of the
// version record. Platform-neutral so the host build checks the formats.
#pragma once

#include <cstdint>
#include <string>

namespace orv {

// "OS Version 5.1 build 2600": major and minor from their low 8 bits, the build from its low 16.
std::string FormatOsVersionText(std::uint32_t major, std::uint32_t minor, std::uint32_t build);

// "5.1 (2600.Service Pack 3)", or "6.1 (7600.)" without a service pack: the build from its low
// 16 bits, the service-pack text as given.
std::string FormatOsVersionNumber(std::uint32_t major, std::uint32_t minor, std::uint32_t build,
                                  const std::string& servicePack);

}  // namespace orv
