// ExpandPathVariables and CommandLineToPath on any command line, with any folders.
#include "fuzz/FuzzInput.h"
#include "sysinfo/PathResolve.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  orv::PathFolders folders;
  folders.winDir = in.ConsumeRandomLengthString(64);
  folders.userProfile = in.ConsumeRandomLengthString(64);
  const std::string commandLine = in.ConsumeRemainingBytesAsString();

  const std::string expanded = orv::ExpandPathVariables(commandLine, folders);
  if (commandLine.find('%') == std::string::npos) {
    orv::fuzz::Require(expanded == commandLine, "text without a token is left as it is");
  }
  const std::string path = orv::CommandLineToPath(commandLine, folders);
  orv::fuzz::Require(path.find('"') == std::string::npos, "a path holds no quotes");
  orv::NamesX86ProgramFiles(commandLine);
  return 0;
}
