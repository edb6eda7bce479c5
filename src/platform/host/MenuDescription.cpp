#include "platform/host/MenuDescription.h"

#include <sstream>

namespace routelle {
namespace {

std::string describeItem(const MenuItem& item) {
  std::string details;
  auto add = [&](const std::string& part) { details += (details.empty() ? "\t" : " ") + part; };
  if (!item.action.empty()) add(item.action);
  if (!item.keyEquivalent.empty()) add("[" + item.keyEquivalent + "]");
  if (!item.enabled) add("(disabled)");
  if (!item.image.empty()) {
    const Size& size = item.image.size;
    add("<image " + item.image.name +
        (size.width != 0 || size.height != 0 ? " " + describeNumber(size.width) + "x" + describeNumber(size.height)
                                             : "") +
        ">");
  }
  if (item.view) {
    for (const auto& sub : item.view->subviews)
      if (sub.kind == View::Kind::slider)
        add("<slider " + describeNumber(sub.minValue) + "-" + describeNumber(sub.maxValue) + " value " +
            describeNumber(sub.value) + " ticks " + std::to_string(sub.numberOfTickMarks) + " at (" +
            describeNumber(sub.frame.x) + ", " + describeNumber(sub.frame.y) + ") " + describeNumber(sub.frame.width) +
            "x" + describeNumber(sub.frame.height) + " in " + describeNumber(item.view->frame.width) + "x" +
            describeNumber(item.view->frame.height) + ">");
    for (const auto& sub : item.view->subviews)
      if (sub.kind == View::Kind::textField)
        add("<text \"" + sub.text + "\" " + describeNumber(sub.frame.width) + "x" + describeNumber(sub.frame.height) +
            ">");
  }
  return item.title + details;
}

}  // namespace

std::string describeNumber(double v) {
  std::ostringstream out;
  out << v;
  return out.str();
}

void describeMenu(const Menu& menu, int level, const std::function<void(const std::string&)>& line) {
  for (const auto& item : menu.items) describeEntry(item, level, line);
}

// A submenu made when it opens is described entry by entry, as it is made: the
// long rule lists are never held whole.
void describeEntry(const MenuItem& item, int level, const std::function<void(const std::string&)>& line) {
  line(std::string(static_cast<size_t>(level) * 2, ' ') + (item.separator ? std::string("---") : describeItem(item)));
  item.forEachSubmenuEntry([&](const MenuItem& inner) { describeEntry(inner, level + 1, line); });
}

}  // namespace routelle
