#include "pages/GeneralText.h"

#include <gtest/gtest.h>

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#endif

#include <algorithm>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/pages/FakeLookup.h"

namespace orv {
namespace {

using test::FakeLookup;

std::array<std::uint32_t, 12> RegistersOf(const std::string& text) {
  std::string padded = text;
  padded.resize(48, '\0');
  std::array<std::uint32_t, 12> regs{};
  std::memcpy(regs.data(), padded.data(), 48);  // x86 and the host are little-endian
  return regs;
}

TEST(CpuName, BytesInRegisterOrderTrimmed) {
  EXPECT_EQ(CpuNameFromRegisters(RegistersOf("       Intel(R) Core(TM) i7-8700 CPU @ 3.20GHz")),
            "Intel(R) Core(TM) i7-8700 CPU @ 3.20GHz");
  EXPECT_EQ(CpuNameFromRegisters(RegistersOf("AMD Ryzen 7 5800X 8-Core Processor  ")),
            "AMD Ryzen 7 5800X 8-Core Processor");
  EXPECT_EQ(CpuNameFromRegisters(RegistersOf("")), "");
  // Each register gives its lowest byte first: EAX = 0x64636261 reads "abcd".
  EXPECT_EQ(CpuNameFromRegisters({0x64636261, 0x00000065}), "abcde");
  // Only the ends are trimmed; a blank or control character inside stays.
  EXPECT_EQ(CpuNameFromRegisters(RegistersOf("\x01 A  B\tC \x7F")), "A  B\tC \x7F");
}

// The brand string as Linux reports it ("model name", trimmed the same way) is an independent
// reading of the same instruction.
TEST(CpuName, AgreesWithProcCpuinfo) {
  const auto regs = ReadCpuBrandRegisters();
  if (!regs) GTEST_SKIP() << "no x86 brand string on this machine";
  std::ifstream cpuinfo("/proc/cpuinfo");
  std::string line;
  std::string model;
  while (std::getline(cpuinfo, line)) {
    if (line.rfind("model name", 0) == 0) {
      model = line.substr(line.find(':') + 2);
      break;
    }
  }
  if (model.empty()) GTEST_SKIP() << "/proc/cpuinfo has no model name";
  const std::string name = CpuNameFromRegisters(*regs);
#if defined(__i386__) || defined(__x86_64__)
  // Linux records the brand string once, at boot. A virtual machine restored from a snapshot on
  // another host answers CPUID with that host's string, so the record no longer reads the same
  // instruction.
  unsigned a = 0, b = 0, c = 0, d = 0;
  const bool virtualMachine = __get_cpuid(1, &a, &b, &c, &d) && (c & (1u << 31)) != 0;
  if (name != model && virtualMachine) {
    GTEST_SKIP() << "virtual machine whose CPUID brand string (\"" << name
                 << "\") is not the one Linux recorded at boot (\"" << model << "\")";
  }
#endif
  EXPECT_EQ(name, model);
}

TEST(ProductName, Windows11RuleOnBuildAndPrefix) {
  EXPECT_EQ(CorrectProductName("Windows 10 Pro", 22000), "Windows 11 Pro");
  EXPECT_EQ(CorrectProductName("Windows 10 Enterprise LTSC 2024", 26100),
            "Windows 11 Enterprise LTSC 2024");
  EXPECT_EQ(CorrectProductName("Windows 10", 22631), "Windows 11");
  EXPECT_EQ(CorrectProductName("Windows 10 Pro", 21999), "Windows 10 Pro");
  EXPECT_EQ(CorrectProductName("Windows 10 Pro", 0), "Windows 10 Pro");
  EXPECT_EQ(CorrectProductName("Microsoft Windows 10 Pro", 22000), "Microsoft Windows 10 Pro");
  EXPECT_EQ(CorrectProductName("Windows Server 2022 Datacenter", 20348),
            "Windows Server 2022 Datacenter");
  EXPECT_EQ(CorrectProductName("Windows 100", 22000), "Windows 100");
  EXPECT_EQ(CorrectProductName("windows 10 Pro", 22000), "windows 10 Pro");
  EXPECT_EQ(CorrectProductName("", 22000), "");
}

TEST(ProductName, BuildNumberParsing) {
  EXPECT_EQ(ParseBuildNumber("22000"), 22000u);
  EXPECT_EQ(ParseBuildNumber("7601"), 7601u);
  for (const char* bad : {"", "22000 ", "22.000", "-1", "x", "12345678901"}) {
    EXPECT_EQ(ParseBuildNumber(bad), 0u) << bad;
  }
}

// Sources whose every call is recorded, with values that tests change one by one.
struct FakeSources {
  std::vector<std::string> calls;
  std::map<std::string, std::string> text = {{"productId", "00371-OEM-8992671-00524"},
                                             {"owner", "Ann"},
                                             {"organization", "Tellwick"},
                                             {"adapter", "Standard VGA Graphics Adapter"},
                                             {"deviceName", "\\\\.\\DISPLAY1"},
                                             {"monitor", "Generic PnP Monitor"},
                                             {"versionNumber", "6.1 (7601.Service Pack 1)"},
                                             {"productName", "Windows 7 Professional"},
                                             {"versionText", "OS Version 6.1 build 7601"},
                                             {"computerName", "WORKSTATION"},
                                             {"userName", "ann"},
                                             {"biosVersion", "DELL   - 1072009"},
                                             {"biosDate", "03/14/19"},
                                             {"cpu", "Intel(R) Core(TM) i5 CPU"},
                                             {"language", "English (United States)"}};
  bool versionNumberFails = false;
  std::uint32_t build = 7601;
  std::uint64_t memory = 4294967296ull;

  // A source recorded under name, answering value as it is when asked.
  template <typename T>
  std::function<T()> Recorded(const char* name, const T& value) {
    return [this, name, &value] {
      calls.push_back(name);
      return value;
    };
  }
  std::function<std::string()> Text(const char* name) { return Recorded(name, text.at(name)); }

  GeneralSources Sources() {
    GeneralSources s;
    s.productId = Text("productId");
    s.registeredOwner = [this](std::string& owner, std::string& organization) {
      calls.push_back("owner");
      owner = text.at("owner");
      organization = text.at("organization");
    };
    s.displayAdapterDesc = Text("adapter");
    s.displayDeviceName = [this](std::string& name) { name = Text("deviceName")(); };
    s.monitorDesc = Text("monitor");
    s.osVersionNumber = [this](std::string& t) {
      const std::string number = Text("versionNumber")();
      if (!versionNumberFails) t = number;
    };
    s.productName = Text("productName");
    s.osBuild = Recorded("build", build);
    s.osVersionText = Text("versionText");
    s.computerName = Text("computerName");
    s.userName = Text("userName");
    s.biosVersion = Text("biosVersion");
    s.biosDate = Text("biosDate");
    s.cpuName = Text("cpu");
    s.totalPhysicalMemory = Recorded("memory", memory);
    s.languageName = Text("language");
    return s;
  }

  GeneralRows Rows() {
    FakeLookup lookup;
    return GatherGeneralRows(Sources(), lookup.Fn());
  }
  long Asked(const std::string& call) const { return std::count(calls.begin(), calls.end(), call); }
};

TEST(GeneralRows, AllThirteenRowsWithDefaultCaptions) {
  FakeSources fake;
  const GeneralRows expected = {
      "Windows 6.1 (7601.Service Pack 1)",
      "Windows 7 Professional",
      "Product Id: 00371-OEM-8992671-00524",
      "Computer name: WORKSTATION",
      "User name: ann",
      "Registered owner: Ann",
      "Registered organization: Tellwick",
      "BIOS: DELL   - 1072009 03/14/19",
      "CPU: Intel(R) Core(TM) i5 CPU",
      "Video: Standard VGA Graphics Adapter",
      "Monitor: Generic PnP Monitor",
      "Memory: 4096 Mb",
      "Keyboard language: English (United States)",
  };
  EXPECT_EQ(fake.Rows(), expected);
}

TEST(GeneralRows, QueriesAndCaptionsInPageOrder) {
  FakeSources fake;
  // Captions and queries go into one record.
  LookupFn lookup = [&fake](const std::string&, const std::string& key, const std::string& def) {
    fake.calls.push_back("[" + key + "]");
    return def;
  };
  GatherGeneralRows(fake.Sources(), lookup);
  const std::vector<std::string> expected = {
      "productId",      "owner",       "adapter",     "monitor",
      "versionNumber",  "productName", "[ProductId]", "[ComputerName]",
      "computerName",   "[UserName]",  "userName",    "[Owner]",
      "[Organization]", "[BIOS]",      "biosVersion", "biosDate",
      "[CPU]",          "cpu",         "[Video]",     "[Monitor]",
      "[Memory]",       "memory",      "[Keyboard]",  "language"};
  EXPECT_EQ(fake.calls, expected);
}

TEST(GeneralRows, Fallbacks) {
  FakeSources fake;
  for (const char* empty : {"adapter", "monitor", "productName", "biosVersion"}) {
    fake.text[empty].clear();
  }
  fake.versionNumberFails = true;
  const GeneralRows rows = fake.Rows();
  EXPECT_EQ(rows[0], "Windows ");
  EXPECT_EQ(rows[1], "OS Version 6.1 build 7601");
  EXPECT_EQ(rows[7], "BIOS:  03/14/19");
  EXPECT_EQ(rows[9], "Video: \\\\.\\DISPLAY1");
  EXPECT_EQ(rows[10], "Monitor: Standart monitor");
  // The display-device name is asked only when the class key has no description.
  FakeSources withAdapter;
  withAdapter.Rows();
  EXPECT_EQ(withAdapter.Asked("deviceName"), 0);
  EXPECT_EQ(withAdapter.Asked("versionText"), 0);
}

TEST(GeneralRows, Windows11NameUsesTheBuild) {
  FakeSources fake;
  fake.text["productName"] = "Windows 10 Pro";
  fake.build = 22631;
  EXPECT_EQ(fake.Rows()[1], "Windows 11 Pro");
  fake.build = 19045;
  EXPECT_EQ(fake.Rows()[1], "Windows 10 Pro");
  // Other names never ask for the build.
  FakeSources seven;
  seven.Rows();
  EXPECT_EQ(seven.Asked("build"), 0);
}

TEST(GeneralRows, TranslatedAndEmptyCaptions) {
  FakeSources fake;
  fake.memory = 512 * 1048576ull + 1048576 / 2;
  FakeLookup lookup({{{"General", "Keyboard"}, ""}, {{"General", "CPU"}, "Prozessor"}});
  const GeneralRows rows = GatherGeneralRows(fake.Sources(), lookup.Fn());
  EXPECT_EQ(rows[12], ": English (United States)");
  EXPECT_EQ(rows[8], "Prozessor: Intel(R) Core(TM) i5 CPU");
  EXPECT_EQ(rows[11], "Memory: 512 Mb");
  fake.memory = 513 * 1048576ull + 1048576 / 2;
  EXPECT_EQ(fake.Rows()[11], "Memory: 514 Mb");
  fake.text["productId"].clear();
  EXPECT_EQ(fake.Rows()[2], "Product Id: ");
}

TEST(GeneralRows, RegistryErrorEndsTheGathering) {
  FakeSources fake;
  GeneralSources sources = fake.Sources();
  sources.registeredOwner = [](std::string&, std::string&) {
    throw std::runtime_error("Invalid data type for 'RegisteredOwner'");
  };
  FakeLookup lookup;
  EXPECT_THROW(GatherGeneralRows(sources, lookup.Fn()), std::runtime_error);
  EXPECT_TRUE(lookup.asked.empty());
}

}  // namespace
}  // namespace orv
