#include "ui/Menu.h"

namespace orv {

std::string MenuItem::Caption() const {
  if (!menu_) return std::string();
  char text[512] = {};
  const int copied = GetMenuStringA(menu_->Handle(), id_, text, sizeof(text), MF_BYCOMMAND);
  return std::string(text, static_cast<std::size_t>(copied > 0 ? copied : 0));
}

void MenuItem::SetCaption(const std::string& caption) {
  if (!menu_) return;
  ModifyMenuA(menu_->Handle(), id_, MF_BYCOMMAND | MF_STRING, id_, caption.c_str());
}

bool PopupMenu::Create() {
  menu_.Reset(CreatePopupMenu());
  return menu_.Valid();
}

void PopupMenu::Add(MenuItem& item, UINT id, const std::string& caption) {
  item.menu_ = this;
  item.id_ = id;
  AppendMenuA(menu_.Get(), MF_STRING, id, caption.c_str());
  items_.push_back(&item);
}

UINT PopupMenu::Popup(Outside& outside, HWND owner, int x, int y) {
  const UINT id = outside.TrackPopup(menu_.Get(), owner, x, y);
  for (MenuItem* item : items_) {
    if (id != 0 && item->Id() == id) item->Click();
  }
  return id;
}

}  // namespace orv
