#include "platform/host/MenuDescription.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

namespace routelle {
namespace {

// Whole numbers below a million print as integers, as the general format does;
// they are most of a menu's numbers (image sizes), and the integer path is faster.
void appendNumber(std::string& out, double v) {
  char text[32];
  std::to_chars_result written{};
  if (v > -1e6 && v < 1e6 && v == static_cast<double>(static_cast<long>(v)) && !(v == 0 && std::signbit(v)))
    written = std::to_chars(text, text + sizeof text, static_cast<long>(v));
  else
    written = std::to_chars(text, text + sizeof text, v, std::chars_format::general, 6);
  out.append(text, written.ptr);
}

// Appends the entry's line without its indent; the menu's thousands of lines
// each cost one string this way, not one per part.
void appendItem(std::string& out, const MenuItem& item) {
  out += item.title;
  bool first = true;
  auto part = [&]() -> std::string& {
    out += first ? '\t' : ' ';
    first = false;
    return out;
  };
  if (!item.action.empty()) part() += item.action;
  if (!item.keyEquivalent.empty()) part().append("[").append(item.keyEquivalent) += ']';
  if (!item.enabled) part() += "(disabled)";
  if (!item.image.empty()) {
    const Size& size = item.image.size;
    part().append("<image ") += item.image.name;
    if (size.width != 0 || size.height != 0) {
      out += ' ';
      appendNumber(out, size.width);
      out += 'x';
      appendNumber(out, size.height);
    }
    out += '>';
  }
  if (!item.view) return;
  const auto& frame = item.view->frame;
  for (const auto& sub : item.view->subviews) {
    if (sub.kind != View::Kind::slider) continue;
    part() += "<slider ";
    appendNumber(out, sub.minValue);
    out += '-';
    appendNumber(out, sub.maxValue);
    out += " value ";
    appendNumber(out, sub.value);
    out.append(" ticks ").append(std::to_string(sub.numberOfTickMarks)) += " at (";
    appendNumber(out, sub.frame.x);
    out += ", ";
    appendNumber(out, sub.frame.y);
    out += ") ";
    appendNumber(out, sub.frame.width);
    out += 'x';
    appendNumber(out, sub.frame.height);
    out += " in ";
    appendNumber(out, frame.width);
    out += 'x';
    appendNumber(out, frame.height);
    out += '>';
  }
  for (const auto& sub : item.view->subviews) {
    if (sub.kind != View::Kind::textField) continue;
    part().append("<text \"").append(sub.text) += "\" ";
    appendNumber(out, sub.frame.width);
    out += 'x';
    appendNumber(out, sub.frame.height);
    out += '>';
  }
}

std::string describeItem(const MenuItem& item) {
  std::string text;
  appendItem(text, item);
  return text;
}

// The line's buffer is handed on to the entries below once the line is out.
void describeEntryInto(const MenuItem& item, int level, const std::function<void(const std::string&)>& line,
                       std::string& buffer) {
  buffer.assign(static_cast<size_t>(level) * 2, ' ');
  if (item.separator)
    buffer += "---";
  else
    appendItem(buffer, item);
  line(buffer);
  item.forEachSubmenuEntry([&](const MenuItem& inner) { describeEntryInto(inner, level + 1, line, buffer); });
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
  std::string text;
  appendNumber(text, v);
  return text;
}

void describeMenu(const Menu& menu, int level, const std::function<void(const std::string&)>& line) {
  for (const auto& item : menu.items) describeEntry(item, level, line);
}

// A submenu made when it opens is described entry by entry, as it is made: the
// long rule lists are never held whole.
void describeEntry(const MenuItem& item, int level, const std::function<void(const std::string&)>& line) {
  std::string buffer;
  describeEntryInto(item, level, line, buffer);
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
