// The browsers list: a pop-up menu at the pointer, or a floating window of icons.
#include <cmath>

#include "app/AppDelegate.h"
#include "settings/Keys.h"
#include "settings/KnownBrowsers.h"
#include "support/Text.h"

namespace routelle {
namespace {

constexpr double kButtonSide = 50.0;
constexpr double kUrlLineHeight = 20.0;
constexpr const char* kCloseTitle = "            Close";

MenuItem chooserEntry(const std::string& name, const std::string& path) {
  MenuItem item;
  item.title = name;
  item.keyEquivalent = name;
  item.image = ImageRef::iconOf(path);
  item.action = "openx:";
  return item;
}

MenuItem closeEntry(bool withImage) {
  MenuItem item;
  item.title = kCloseTitle;
  item.keyEquivalent = "c";
  item.action = "xNada";
  if (withImage) item.image = ImageRef::bundle("close");
  return item;
}

// One line per started 32 characters for long links (from 90 on), where the system can wrap.
int urlLineCount(const std::string& link, bool canWrap) {
  const size_t characters = text::characterCount(link);
  if (!canWrap || characters < 90) return 1;
  return static_cast<int>(std::ceil(static_cast<double>(characters) * 0.03125));
}

}  // namespace

std::string appNameFromPath(const std::string& path) {
  return text::replaceAll(text::lastPathComponent(path), ".app", "");
}

void AppDelegate::showBrowsersList() {
  buildBrowsersListMenu();
  if (!s_.settings.ensureBool(keys::imonly, false)) {
    if (auto chosen = s_.presenter.popUpMenu(menu, s_.events.mouseLocation())) perform(chosen->action, *chosen);
  } else {
    showFloatingBrowsersWindow();
  }
}

void AppDelegate::buildBrowsersListMenu() {
  bts.clear();
  menu.items.clear();
  for (const auto& known : knownBrowsers)
    if (auto path = s_.workspace.pathForBundleIdentifier(std::string(known.identifier)))
      menu.items.push_back(chooserEntry(appNameFromPath(*path), *path));

  auto added = s_.settings.getObject(keys::addedbrowsers);
  if (added && std::holds_alternative<Bytes>(*added)) {
    // The Share extension reads the list from the shared suite; an unchanged copy needs no write.
    if (s_.settings.getObject(keys::addedbrowsers, Domain::suite) != added)
      s_.settings.setObject(keys::addedbrowsers, *added, Domain::suite);
    for (const auto& identifier : s_.settings.sharedList(keys::addedbrowsers)->items) {
      if (identifier.empty()) continue;
      if (auto path = s_.workspace.pathForBundleIdentifier(identifier))
        menu.items.push_back(chooserEntry(text::lastPathComponent(*path), *path));
    }
  }

  const std::string hidden = s_.settings.ensureString(keys::hiddenBrowsers, "");
  const bool hideExit = s_.settings.ensureBool(keys::hideExit, true);
  if (!hideExit) menu.items.push_back(closeEntry(true));

  std::vector<MenuItem> visible;
  for (auto& item : menu.items) {
    if (text::contains(hidden, item.title)) continue;
    bts.push_back(item);
    visible.push_back(std::move(item));
  }
  menu.items = std::move(visible);
  // The pop-up ends with an image-less Close; the floating window keeps the imaged one.
  if (!hideExit) {
    if (!menu.items.empty()) menu.items.pop_back();
    menu.items.push_back(closeEntry(false));
  }

  if (!s_.settings.ensureBool(keys::hideUrl, true)) {
    const int lines = urlLineCount(casa, s_.system.isAtLeast(10, 11));
    View field;
    field.kind = View::Kind::textField;
    field.text = casa;
    field.editable = false;
    if (lines > 1) field.maximumNumberOfLines = lines;
    field.frame = {0, 0, 210.0, kUrlLineHeight * lines};
    View container;
    container.frame = field.frame;
    container.subviews.push_back(std::move(field));
    MenuItem row;
    row.view = std::make_shared<View>(std::move(container));
    menu.items.push_back(std::move(row));
  }
}

void AppDelegate::showFloatingBrowsersWindow() {
  s_.presenter.cancelMenuTracking(menuy);
  trace("pop1");
  bomxx = false;
  oApp = s_.workspace.frontmostApplication();
  if (oApp && !oApp->localizedName.empty()) bomxx = true;

  const double width = static_cast<double>(bts.size()) * kButtonSide;
  View container;
  container.frame = {0, 0, width, kButtonSide};
  if (!s_.settings.ensureBool(keys::hideUrl, true)) {
    const int lines = urlLineCount(casa, s_.system.isAtLeast(10, 11));
    View label;
    label.kind = View::Kind::textField;
    label.text = casa;
    label.editable = false;
    label.fontSize = 11.0;
    label.alignment = "center";
    label.textColor = "white";
    label.bordered = false;
    label.drawsBackground = false;
    label.cornerRadius = 5.0;
    if (lines > 1) label.maximumNumberOfLines = lines;
    const double height = kUrlLineHeight * lines;
    label.frame = {0, kButtonSide, width, height};
    container.frame = {0, 0, width, height + kButtonSide};
    container.subviews.push_back(std::move(label));
  }
  for (size_t i = 0; i < bts.size(); ++i) {
    View button;
    button.kind = View::Kind::button;
    if (!bts[i].image.empty()) {
      button.image = bts[i].image;
      button.image.size = {kButtonSide, kButtonSide};
    }
    button.keyEquivalent = bts[i].title;
    button.action = bts[i].action;
    button.frame = {static_cast<double>(i) * kButtonSide, 0, kButtonSide, kButtonSide};
    button.bordered = false;
    container.subviews.push_back(std::move(button));
  }
  newWindow = WindowModel{};
  isShowing = true;
  styleFloatingWindow(std::move(container));
  s_.presenter.showFloatingWindow(*newWindow, s_.events.mouseLocation());
}

void AppDelegate::styleFloatingWindow(View content) {
  if (!newWindow) newWindow = WindowModel{};
  WindowModel& w = *newWindow;
  w.styleMask |= 32768;  // full-size content view
  w.movableByBackground = true;
  w.titlebarTransparent = true;
  w.hideTitle = true;
  w.hideStandardButtons = true;
  w.opaque = false;
  w.backgroundColor = "black 0.7";
  w.frame = {0, 0, content.frame.width, content.frame.height};
  w.floating = true;
  w.content = std::move(content);
  s_.presenter.activate(false);
}

void AppDelegate::hideFloatingWindow() {
  if (!newWindow || !s_.presenter.floatingWindowVisible()) return;
  s_.presenter.orderOutFloatingWindow();
  isShowing = false;
}

void AppDelegate::openx(const MenuItem& sender) {
  hideFloatingWindow();
  launchBrowser(casa, sender.keyEquivalent);
}

void AppDelegate::xNada(const MenuItem&) { hideFloatingWindow(); }

}  // namespace routelle
