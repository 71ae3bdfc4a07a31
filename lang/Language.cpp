#include "lang/Language.h"

#include <windows.h>

#include <utility>

#include "lang/LanguageText.h"
#include "sysinfo/RegUnit.h"

namespace orv {

namespace {
constexpr DWORD kLookupBufferSize = 2048;
}  // namespace

LanguageIni::LanguageIni(std::string path) : path_(std::move(path)) {}

const std::string& LanguageIni::Path() const { return path_; }

std::string LanguageIni::Read(const std::string& section, const std::string& key,
                              const std::string& defaultText) const {
  char buffer[kLookupBufferSize] = {};
  DWORD copied = GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultText.c_str(), buffer,
                                          kLookupBufferSize, path_.c_str());
  // The count never exceeds the buffer less its NUL; clamp anyway rather than trust it blindly.
  if (copied > kLookupBufferSize - 1) copied = kLookupBufferSize - 1;
  return std::string(buffer, copied);
}

LanguageChoice ChooseLanguageFile(const std::string& appDir) {
  LanguageChoice choice;
  choice.index = RegReadInt(HKEY_CURRENT_USER, "\\Software\\Tellwick\\Orvendel\\", "Language");
  choice.fileName = LanguageFileNameFor(choice.index);
  choice.path = appDir + "\\" + choice.fileName;
  return choice;
}

}  // namespace orv
