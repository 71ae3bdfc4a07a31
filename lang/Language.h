// The language file: which one the "Language" registry value chooses, and the lookup of one text in
// it. A missing file, section or key gives the caller's English default, so an incomplete
// translation shows English where it has nothing.
#pragma once

#include <string>

namespace orv {

// Reading through GetPrivateProfileStringA keeps Windows' own INI rules (case-insensitive names,
// blanks trimmed, one pair of enclosing quotes dropped). "Opening" only records the path: the file
// is read anew at every lookup, so an edited file shows at the next lookup.
class LanguageIni {
 public:
  explicit LanguageIni(std::string path);
  const std::string& Path() const;
  // The value of key in section, at most 2047 characters; defaultText when the file, the section or
  // the key is missing. A key with an empty value gives empty text.
  std::string Read(const std::string& section, const std::string& key,
                   const std::string& defaultText) const;

 private:
  std::string path_;
};

struct LanguageChoice {
  int index;             // the registry value as read (0 when missing or not a DWORD)
  std::string fileName;  // "English.ini" ... "Czech.ini"
  std::string path;      // appDir + "\" + fileName
};

// Reads HKEY_CURRENT_USER "\Software\Tellwick\Orvendel\" "Language" (a DWORD, 1 to 6) and names the
// language file beside the program. appDir comes without its trailing backslash except for a drive
// root ("C:\"), which gives "C:\\English.ini": Windows reads that path all the same.
LanguageChoice ChooseLanguageFile(const std::string& appDir);

}  // namespace orv
