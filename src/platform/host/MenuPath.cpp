#include "platform/host/MenuPath.h"

#include <vector>

#include "support/Text.h"

namespace routelle {

namespace {

constexpr std::string_view kCheckMark = "\u2713";

std::string_view trimBlanks(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

std::string quoted(std::string_view s) { return "\"" + std::string(s) + "\""; }

// What a level offers, as the user may type it.
std::string offered(const Menu& level, bool untitledByAction) {
  std::string out;
  for (const auto& item : level.items) {
    if (item.separator) continue;
    std::string name =
        item.title.empty() ? (untitledByAction ? item.action : std::string()) : bareMenuTitle(item.title);
    if (name.empty()) continue;
    out += (out.empty() ? "" : ", ") + quoted(name);
  }
  return out.empty() ? std::string("nothing") : out;
}

}  // namespace

std::string bareMenuTitle(std::string_view title) {
  std::string_view s = trimBlanks(title);
  if (s.starts_with(kCheckMark)) s.remove_prefix(kCheckMark.size());
  if (s.ends_with(kCheckMark)) s.remove_suffix(kCheckMark.size());
  return std::string(trimBlanks(s));
}

MenuPathMatch findMenuEntry(const Menu& menu, std::string_view path, MenuPathRules rules) {
  const Menu* level = &menu;
  std::string where = "the menu";
  const MenuItem* item = nullptr;
  std::vector<std::shared_ptr<const Menu>> opened;
  for (const auto& title : text::split(path, " > ")) {
    if (!level) return {nullptr, where + " has no submenu", {}};
    const MenuItem* exact = nullptr;
    std::vector<const MenuItem*> loose;
    const std::string bare = bareMenuTitle(title);
    for (const auto& candidate : level->items) {
      if (candidate.separator) continue;
      const bool untitled = candidate.title.empty();
      if (untitled ? rules.untitledByAction && candidate.action == title : candidate.title == title) {
        exact = &candidate;
        break;
      }
      if (!untitled && !bare.empty() && bareMenuTitle(candidate.title) == bare) loose.push_back(&candidate);
    }
    if (!exact && loose.size() > 1) {
      std::string titles;
      for (const auto* l : loose) titles += (titles.empty() ? "" : ", ") + quoted(l->title);
      return {nullptr, quoted(title) + " in " + where + " could be any of " + titles, {}};
    }
    item = exact ? exact : loose.empty() ? nullptr : loose.front();
    if (!item)
      return {nullptr,
              where + " has no entry " + quoted(title) + "; it offers " + offered(*level, rules.untitledByAction),
              {}};
    level = nullptr;
    if (auto submenu = item->openSubmenu()) {
      level = submenu.get();
      opened.push_back(std::move(submenu));
    }
    where = quoted(bareMenuTitle(item->title));
  }
  if (rules.leafOnly && item && item->hasSubmenu())
    return {
        nullptr, where + " opens a submenu; it offers " + offered(*item->openSubmenu(), rules.untitledByAction), {}};
  return {item, {}, std::move(opened)};
}

}  // namespace routelle
