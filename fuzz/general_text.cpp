// The General page's rules on anything the registry and the processor report: brand registers,
// build numbers, product names, and the thirteen rows from any query texts.
#include <array>
#include <cstdint>

#include "fuzz/FuzzInput.h"
#include "pages/GeneralText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  std::array<std::uint32_t, 12> registers{};
  for (std::uint32_t& reg : registers) reg = in.ConsumeIntegral<std::uint32_t>();
  orv::fuzz::Require(orv::CpuNameFromRegisters(registers).size() <= 48,
                     "a brand string has at most 48 characters");

  const std::string buildText = in.ConsumeRandomLengthString(16);
  const std::uint32_t build = orv::ParseBuildNumber(buildText);
  if (build != 0) orv::fuzz::Require(std::to_string(build).size() <= buildText.size(), "digits");

  std::array<std::string, 14> texts;
  for (std::string& text : texts) text = in.ConsumeRandomLengthString(40);
  const std::uint64_t memory = in.ConsumeIntegral<std::uint64_t>();
  const orv::LookupFn lookup = orv::fuzz::TranslatedLookup(in.ConsumeRandomLengthString(16));
  const std::string corrected = orv::CorrectProductName(texts[6], build);
  orv::fuzz::Require(corrected.size() == texts[6].size(), "the correction keeps the length");

  orv::GeneralSources sources;
  sources.productId = [&] { return texts[0]; };
  sources.registeredOwner = [&](std::string& owner, std::string& organization) {
    owner = texts[1];
    organization = texts[2];
  };
  sources.displayAdapterDesc = [&] { return texts[3]; };
  sources.displayDeviceName = [&](std::string& name) { name = texts[4]; };
  sources.monitorDesc = [&] { return texts[5]; };
  sources.osVersionNumber = [&](std::string& text) { text = texts[13]; };
  sources.productName = [&] { return texts[6]; };
  sources.osBuild = [&] { return build; };
  sources.osVersionText = [&] { return texts[7]; };
  sources.computerName = [&] { return texts[8]; };
  sources.userName = [&] { return texts[9]; };
  sources.biosVersion = [&] { return texts[10]; };
  sources.biosDate = [&] { return texts[11]; };
  sources.cpuName = [&] { return texts[12]; };
  sources.totalPhysicalMemory = [&] { return memory; };
  sources.languageName = [&] { return texts[0]; };
  orv::GatherGeneralRows(sources, lookup);
  return 0;
}
