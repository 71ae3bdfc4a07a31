// An Outside for tests: records every request and answers with preset results, so window-level
// tests see what the program would have opened or shown without anything happening.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ui/Outside.h"

namespace orv::test {

class RecordingOutside : public Outside {
 public:
  struct Open {
    HWND owner;
    std::string target;
  };
  struct Message {
    HWND owner;
    std::string text;
    std::string caption;
    UINT style;
  };
  struct Popup {
    HMENU menu;
    HWND owner;
    int x;
    int y;
  };

  void ShellOpen(HWND owner, const std::string& target) override {
    opened.push_back({owner, target});
  }
  int ShowMessage(HWND owner, const std::string& text, const std::string& caption,
                  UINT style) override {
    messages.push_back({owner, text, caption, style});
    return IDOK;
  }
  bool AskSaveFileName(HWND, std::string& fileName) override {
    offeredFileNames.push_back(fileName);
    if (!saveAnswer) return false;
    fileName = *saveAnswer;
    return true;
  }
  UINT TrackPopup(HMENU menu, HWND owner, int x, int y) override {
    popups.push_back({menu, owner, x, y});
    return popupAnswer;
  }

  // Preset answers: the path the save dialog returns (none: cancelled) and the menu command.
  std::optional<std::string> saveAnswer;
  UINT popupAnswer = 0;

  std::vector<Open> opened;
  std::vector<Message> messages;
  std::vector<std::string> offeredFileNames;
  std::vector<Popup> popups;
};

}  // namespace orv::test
