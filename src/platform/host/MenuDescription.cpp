#include "platform/host/MenuDescription.h"

#include <algorithm>
#include <charconv>
#include <optional>

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

// Submenus made when they open are made here too: a change inside a rule list shows.
void addItemLines(const MenuItem& item, int level, const std::string& under, std::vector<MenuLine>& lines) {
  const std::string indent(static_cast<size_t>(level) * 2, ' ');
  const auto first = item.title.find_first_not_of(' ');
  const std::string title = first == std::string::npos ? std::string() : item.title.substr(first);
  const std::string path = under.empty() ? title : under + " > " + title;
  lines.push_back({indent + (item.separator ? std::string("---") : describeItem(item)), under, path});
  item.forEachSubmenuEntry([&](const MenuItem& inner) { addItemLines(inner, level + 1, path, lines); });
}

std::string heading(const std::string& under) {
  return under.empty() ? "menu changed at the top level:" : "menu changed in \"" + under + "\":";
}

}  // namespace

// As a stream prints it (six significant digits), without building a stream
// for each of the menu's thousands of numbers.
std::string describeNumber(double v) {
  char text[32];
  const auto written = std::to_chars(text, text + sizeof text, v, std::chars_format::general, 6);
  return std::string(text, written.ptr);
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

std::vector<MenuLine> menuLines(const Menu& menu) {
  std::vector<MenuLine> lines;
  for (const auto& item : menu.items) addItemLines(item, 0, "", lines);
  return lines;
}

std::vector<std::string> describeMenuChanges(const std::vector<MenuLine>& before, const std::vector<MenuLine>& after) {
  // The longest common subsequence of lines; a line is the same only under the same entries.
  const std::size_t n = before.size(), m = after.size();
  std::vector<std::vector<std::size_t>> common(n + 1, std::vector<std::size_t>(m + 1, 0));
  for (std::size_t i = n; i-- > 0;)
    for (std::size_t j = m; j-- > 0;)
      common[i][j] = before[i] == after[j] ? common[i + 1][j + 1] + 1 : std::max(common[i + 1][j], common[i][j + 1]);

  // A group of changed lines goes on while they are in one submenu or inside an
  // entry the group changed; indentation shows the rest.
  std::vector<std::string> out;
  std::optional<std::string> groupUnder;
  std::vector<std::string> groupPaths;
  auto inGroup = [&](const MenuLine& line) {
    if (!groupUnder) return false;
    if (line.under == *groupUnder) return true;
    return std::any_of(groupPaths.begin(), groupPaths.end(), [&](const std::string& path) {
      return line.under == path || line.under.starts_with(path + " > ");
    });
  };
  auto change = [&](char mark, const MenuLine& line) {
    if (!inGroup(line)) {
      out.push_back(heading(line.under));
      groupUnder = line.under;
      groupPaths.clear();
    }
    groupPaths.push_back(line.path);
    out.push_back(mark + line.text);
  };
  std::size_t i = 0, j = 0;
  while (i < n || j < m) {
    if (i < n && j < m && before[i] == after[j]) {
      groupUnder.reset();
      ++i, ++j;
    } else if (i < n && (j == m || common[i + 1][j] >= common[i][j + 1])) {
      change('-', before[i++]);
    } else {
      change('+', after[j++]);
    }
  }
  if (out.empty()) out.push_back("menu unchanged");
  return out;
}

}  // namespace routelle
