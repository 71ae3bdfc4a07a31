// Every section and key that the program reads, once each, with its compiled English default: what
// the tests hold the language files and the program's lookups against. Written out here, apart
// from the program's caption table, so that a key the program and a file both lose is still missed.
// A key read in several places (General/Memory, Startup/Program) stands once; a complete language
// file holds these keys and no others.
#pragma once

#include <span>
#include <string>
#include <vector>

namespace orv::test {

// The language files that ship, in the order of the "Language" value's indexes 1 to 6: English,
// then the translations.
inline constexpr const char* kLanguageFiles[] = {"English.ini", "German.ini",  "French.ini",
                                                 "Spanish.ini", "Italian.ini", "Czech.ini"};
inline constexpr std::span<const char* const> kTranslations = std::span(kLanguageFiles).subspan(1);

// One text the program looks up: section, key and the English text it shows without a file.
struct LanguageKey {
  std::string section;
  std::string key;
  std::string defaultText;
};

inline const std::vector<LanguageKey>& KnownLanguageKeys() {
  static const std::vector<LanguageKey> keys = {
      {"General", "General", "General"},
      {"General", "Info1", "Download Pellory"},
      {"General", "Info2", "to make your computer error-free and more efficient!"},
      {"General", "Memory", "Memory"},
      {"General", "ProductId", "Product Id"},
      {"General", "ComputerName", "Computer name"},
      {"General", "UserName", "User name"},
      {"General", "Owner", "Registered owner"},
      {"General", "Organization", "Registered organization"},
      {"General", "BIOS", "BIOS"},
      {"General", "CPU", "CPU"},
      {"General", "Video", "Video"},
      {"General", "Monitor", "Monitor"},
      {"General", "Keyboard", "Keyboard language"},
      {"Drives", "Drives", "Drives"},
      {"Drives", "Drive", "Drive"},
      {"Drives", "Removable", "Removable"},
      {"Drives", "Fixed", "Fixed"},
      {"Drives", "Size", "Drive size"},
      {"Drives", "Used", "Used"},
      {"Drives", "Free", "Free"},
      {"Drives", "Info1", "Download Dravenna"},
      {"Drives", "Info2",
       "to recover deleted data data from hard disks and any type of storage media."},
      {"Memory", "Info", "Processes are the programs running now."},
      {"Memory", "Size", "Memory size"},
      {"Memory", "Virtual", "Virtual memory"},
      {"Memory", "Usage", "Memory usage"},
      {"Memory", "Processes", "Processes"},
      {"Memory", "Info1", "Download Kestrova"},
      {"Memory", "Info2", "Speed up your PC loading several times!"},
      {"Startup", "Startup", "Startup list"},
      {"Startup", "Info",
       "Some programs add themselves to the autorun, and load when the PC starts. Not all of them "
       "are necessary, and their work may slow down the PC processing."},
      {"Startup", "User", "User"},
      {"Startup", "Program", "Program"},
      {"Startup", "Location", "Location"},
      {"Startup", "AllUsers", "All users"},
      {"Startup", "OpenFolder", "Open folder"},
      {"Startup", "LaunchSoftware", "Launch software"},
      {"Startup", "AskGoogle", "Ask Google"},
      {"Startup", "Info1", "Download Lumarel"},
      {"Startup", "Info2", "to manage your startup list!"},
      {"Uninstall", "Programs", "Installed programs"},
      {"Uninstall", "Info",
       "Here is the list of programs installed at your PC. You may delete them in the start menu "
       "or control panel."},
      {"Uninstall", "Publisher", "Publisher"},
      {"Uninstall", "Info1", "Download Ferrowin"},
      {"Uninstall", "Info2", "to track applications installation and deinstallation!"},
      {"About", "About", "About"},
      {"About", "Version", "Version"},
      {"About", "Internet", "Internet"},
      {"About", "E-mail", "Email"},
      {"About", "Help", "Help"},
      {"Report", "Save", "Save report"},
      {"Report", "SaveTxt", "Save as text"},
      {"Report", "SaveHtml", "Save as HTML"},
      {"Messages", "Warning", "Warning"},
      {"Messages", "FolderNotFound", "Folder not found!"},
      {"Messages", "FileNotFound", "File not found!"},
      {"Edit", "Copy", "Copy"},
      {"Edit", "SelectAll", "Select all"},
  };
  return keys;
}

}  // namespace orv::test
