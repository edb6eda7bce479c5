#include "routing/BrowserScripts.h"

#include <array>

namespace routelle::browserscripts {
namespace {

constexpr std::array<std::string_view, 3> kSafariFamily{"Safari", "iCab", "Safari Technology Preview"};
constexpr std::array<std::string_view, 6> kChromeFamily{"Chrome", "Chromium",      "Firefox",
                                                        "Opera",  "Google Chrome", "SRWare Iron"};

template <typename Names>
bool among(const Names& names, std::string_view name) {
  for (auto n : names)
    if (n == name) return true;
  return false;
}

}  // namespace

std::optional<std::string_view> currentTabSuffix(std::string_view name) {
  if (among(kSafariFamily, name)) return frontDocument;
  if (among(kChromeFamily, name) || name == "Brave Browser") return activeTab;
  return std::nullopt;
}

std::optional<std::string_view> allTabsOf(std::string_view name) {
  if (among(kSafariFamily, name)) return everyTabOfWindow1;
  if (among(kChromeFamily, name)) return tabsOfFrontWindow;
  return std::nullopt;
}

std::string quoted(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    switch (c) {
      case '"':
      case '\\':
        out += '\\';
        out += c;
        break;
      // A line break would end a line of the script; the escapes keep it inside the text.
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        out += c;
    }
  }
  return out + "\"";
}

std::string tellApplication(std::string_view browser, std::string_view suffix) {
  return "tell application " + quoted(browser) + std::string(suffix);
}

std::string allTabsScript(std::string_view browser, std::string_view tabs) {
  return "set AppleScript's text item delimiters to linefeed\n" +
         tellApplication(browser, " to set tabURLs to URL of ") + std::string(tabs) + "\nreturn tabURLs as string";
}

}  // namespace routelle::browserscripts
