#include "ui/Menu.h"

namespace routelle {

const MenuItem* Menu::find(const std::string& wanted) const {
  for (const auto& item : items) {
    if (!item.separator && item.title == wanted) return &item;
    if (item.submenu)
      if (const MenuItem* inner = item.submenu->find(wanted)) return inner;
  }
  return nullptr;
}

}  // namespace routelle
