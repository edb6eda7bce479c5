#include "ui/Menu.h"

namespace routelle {

void MenuItem::forEachSubmenuEntry(const std::function<void(const MenuItem&)>& each) const {
  if (submenu) {
    for (const auto& item : submenu->items) each(item);
  } else if (submenuEntries) {
    submenuEntries([&](MenuItem&& item) { each(item); });
  }
}

std::shared_ptr<const Menu> MenuItem::openSubmenu() const {
  if (submenu || !submenuEntries) return submenu;
  auto made = std::make_shared<Menu>();
  submenuEntries([&](MenuItem&& item) { made->items.push_back(std::move(item)); });
  return made;
}

const MenuItem* Menu::find(const std::string& wanted) const {
  for (const auto& item : items) {
    if (!item.separator && item.title == wanted) return &item;
    if (item.submenu)
      if (const MenuItem* inner = item.submenu->find(wanted)) return inner;
  }
  return nullptr;
}

}  // namespace routelle
