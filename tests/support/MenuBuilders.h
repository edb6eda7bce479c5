// Small menus written out in a test: entries, submenus, whole menus.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ui/Menu.h"

namespace routelle::test {

inline MenuItem entry(std::string title, std::string action = "act:") {
  MenuItem item;
  item.title = std::move(title);
  item.action = std::move(action);
  return item;
}

inline MenuItem submenu(std::string title, std::vector<MenuItem> items) {
  MenuItem item = entry(std::move(title), "");
  item.submenu = std::make_shared<Menu>();
  item.submenu->items = std::move(items);
  return item;
}

inline Menu menuOf(std::vector<MenuItem> items) {
  Menu menu;
  menu.items = std::move(items);
  return menu;
}

}  // namespace routelle::test
