#include "pages/GeneralText.h"

#include <iterator>

#include "base/TextRules.h"
#include "pages/MemoryText.h"

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#endif

namespace orv {

std::string CpuNameFromRegisters(const std::array<std::uint32_t, 12>& registers) {
  std::string text;
  text.reserve(48);
  for (std::uint32_t reg : registers) {
    for (int shift = 0; shift < 32; shift += 8) {
      text.push_back(static_cast<char>((reg >> shift) & 0xFF));
    }
  }
  return TrimControl(text);
}

std::optional<std::array<std::uint32_t, 12>> ReadCpuBrandRegisters() {
#if defined(__i386__) || defined(__x86_64__)
  // __get_cpuid_max also tells whether CPUID exists at all (a concern of 32-bit x86 only). Asking
  // for leaves beyond the maximum returns another leaf's data, so the maximum is checked first.
  if (static_cast<unsigned>(__get_cpuid_max(0x80000000u, nullptr)) < 0x80000004u) {
    return std::nullopt;
  }
  std::array<std::uint32_t, 12> regs{};
  for (unsigned leaf = 0; leaf < 3; ++leaf) {
    unsigned a = 0, b = 0, c = 0, d = 0;
    __cpuid_count(0x80000002u + leaf, 0, a, b, c, d);
    regs[leaf * 4 + 0] = a;
    regs[leaf * 4 + 1] = b;
    regs[leaf * 4 + 2] = c;
    regs[leaf * 4 + 3] = d;
  }
  return regs;
#else
  return std::nullopt;
#endif
}

std::uint32_t ParseBuildNumber(std::string_view text) {
  if (text.empty() || text.size() > 9) return 0;
  std::uint32_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return 0;
    value = value * 10 + static_cast<std::uint32_t>(c - '0');
  }
  return value;
}

std::string CorrectProductName(const std::string& productName, std::uint32_t build) {
  constexpr std::string_view kOld = "Windows 10";
  constexpr std::uint32_t kFirstWindows11Build = 22000;
  if (build < kFirstWindows11Build || !productName.starts_with(kOld)) return productName;
  if (productName.size() > kOld.size()) {
    const char next = productName[kOld.size()];
    if (next >= '0' && next <= '9') return productName;  // "Windows 100" is another name
  }
  return "Windows 11" + productName.substr(kOld.size());
}

std::string BiosValue(const std::string& version, const std::string& date) {
  return version + " " + date;
}

GeneralRows GatherGeneralRows(const GeneralSources& sources, const LookupFn& lookup) {
  const std::string productId = sources.productId();
  std::string owner;
  std::string organization;
  sources.registeredOwner(owner, organization);
  std::string video = sources.displayAdapterDesc();
  if (video.empty()) sources.displayDeviceName(video);
  std::string monitor = sources.monitorDesc();
  if (monitor.empty()) monitor = kStandardMonitorText;

  GeneralRows rows;
  std::string versionNumber;
  sources.osVersionNumber(versionNumber);
  rows[0] = "Windows " + versionNumber;

  std::string product = sources.productName();
  if (product.empty()) {
    product = sources.osVersionText();
  } else if (product.starts_with("Windows 10")) {
    product = CorrectProductName(product, sources.osBuild());
  }
  rows[1] = product;

  // The captioned rows in label order; each caption is looked up just before its value is asked.
  struct CaptionedRow {
    const char* key;
    const char* caption;
    std::function<std::string()> value;
  };
  const CaptionedRow captioned[] = {
      {"ProductId", "Product Id", [&] { return productId; }},
      {"ComputerName", "Computer name", sources.computerName},
      {"UserName", "User name", sources.userName},
      {"Owner", "Registered owner", [&] { return owner; }},
      {"Organization", "Registered organization", [&] { return organization; }},
      {"BIOS", "BIOS",
       [&] {
         const std::string version = sources.biosVersion();
         return BiosValue(version, sources.biosDate());
       }},
      {"CPU", "CPU", sources.cpuName},
      {"Video", "Video", [&] { return video; }},
      {"Monitor", "Monitor", [&] { return monitor; }},
      {"Memory", "Memory",
       [&] { return std::to_string(RoundedMegabytes(sources.totalPhysicalMemory())) + " Mb"; }},
      {"Keyboard", "Keyboard language", sources.languageName},
  };
  static_assert(std::size(captioned) == kGeneralRowCount - 2);
  for (std::size_t i = 0; i < std::size(captioned); ++i) {
    const std::string caption = lookup("General", captioned[i].key, captioned[i].caption);
    rows[i + 2] = caption + ": " + captioned[i].value();
  }
  return rows;
}

}  // namespace orv
