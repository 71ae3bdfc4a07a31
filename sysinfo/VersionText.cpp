#include "sysinfo/VersionText.h"

namespace orv {

std::string FormatOsVersionText(std::uint32_t major, std::uint32_t minor, std::uint32_t build) {
  return "OS Version " + std::to_string(major & 0xFFu) + "." + std::to_string(minor & 0xFFu) +
         " build " + std::to_string(build & 0xFFFFu);
}

std::string FormatOsVersionNumber(std::uint32_t major, std::uint32_t minor, std::uint32_t build,
                                  const std::string& servicePack) {
  // The version fields are written as signed numbers, as the record's readers always have.
  return std::to_string(static_cast<std::int32_t>(major)) + "." +
         std::to_string(static_cast<std::int32_t>(minor)) + " (" + std::to_string(build & 0xFFFFu) +
         "." + servicePack + ")";
}

}  // namespace orv
