#include "app/BrowsersListChooser.h"

#include <cmath>

#include "routing/LinkText.h"
#include "settings/BrowserIdentifiers.h"
#include "settings/Keys.h"
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
  item.action = selector(Action::openWithChosenBrowser);
  return item;
}

MenuItem closeEntry(bool withImage) {
  MenuItem item;
  item.title = kCloseTitle;
  item.keyEquivalent = "c";
  item.action = selector(Action::closeChooser);
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

BrowsersListChooser::BrowsersListChooser(const Dependencies& deps)
    : settings_(deps.settings),
      workspace_(deps.workspace),
      presenter_(deps.presenter),
      events_(deps.events),
      system_(deps.system),
      request_(deps.request),
      launcher_(deps.launcher),
      window_(deps.window),
      selectionMenu_(deps.selectionMenu),
      actions_(deps.actions),
      trace_(deps.trace),
      profiles_(deps.profiles) {}

void BrowsersListChooser::showBrowsersList() {
  buildBrowsersListMenu();
  if (!settings_.ensureBool(keys::imagesOnlyChooser, false)) {
    if (auto chosen = presenter_.popUpMenu(menu_, events_.mouseLocation())) actions_.perform(chosen->action, *chosen);
  } else {
    showFloatingBrowsersWindow();
  }
}

void BrowsersListChooser::popUpBrowsersMenu() {
  buildBrowsersListMenu();
  if (auto chosen = presenter_.popUpMenu(menu_, events_.mouseLocation())) actions_.perform(chosen->action, *chosen);
}

void BrowsersListChooser::buildBrowsersListMenu() {
  visibleChoices_.clear();
  menu_.items.clear();
  for (const auto& identifier : knownBrowserIdentifiers(workspace_))
    if (auto path = workspace_.pathForBundleIdentifier(identifier)) {
      const std::string name = appNameFromPath(*path);
      menu_.items.push_back(chooserEntry(name, *path));
      // Each profile right under its browser, which hiding the browser hides too.
      for (const auto& profile : profiles_.profilesOf(name))
        menu_.items.push_back(chooserEntry(name + std::string(kProfileSeparator) + profile.name, *path));
    }

  auto added = settings_.getObject(keys::addedBrowsers);
  if (added && std::holds_alternative<Bytes>(*added)) {
    // The Share extension reads the list from the shared suite; an unchanged copy needs no write.
    if (settings_.getObject(keys::addedBrowsers, Domain::suite) != added)
      settings_.setObject(keys::addedBrowsers, *added, Domain::suite);
    for (const auto& identifier : settings_.sharedList(keys::addedBrowsers)->items) {
      if (identifier.empty()) continue;
      if (auto path = workspace_.pathForBundleIdentifier(std::string(identifier)))
        menu_.items.push_back(chooserEntry(text::lastPathComponent(*path), *path));
    }
  }

  const std::string hidden = settings_.ensureString(keys::hiddenBrowsers, "");
  const bool hideExit = settings_.ensureBool(keys::hideChooserClose, true);
  if (!hideExit) menu_.items.push_back(closeEntry(true));

  std::vector<MenuItem> visible;
  for (auto& item : menu_.items) {
    if (text::contains(hidden, item.title)) continue;
    visibleChoices_.push_back(item);
    visible.push_back(std::move(item));
  }
  menu_.items = std::move(visible);
  // The pop-up ends with an image-less Close; the floating window keeps the imaged one.
  if (!hideExit) {
    if (!menu_.items.empty()) menu_.items.pop_back();
    menu_.items.push_back(closeEntry(false));
  }

  if (!settings_.ensureBool(keys::hideChooserUrl, true)) {
    const std::string link = request_.currentLink();
    const int lines = urlLineCount(link, system_.isAtLeast(10, 11));
    View field;
    field.kind = View::Kind::textField;
    field.text = link;
    field.editable = false;
    if (lines > 1) field.maximumNumberOfLines = lines;
    field.frame = {0, 0, 210.0, kUrlLineHeight * lines};
    View container;
    container.frame = field.frame;
    container.subviews.push_back(std::move(field));
    MenuItem row;
    row.view = std::make_shared<View>(std::move(container));
    menu_.items.push_back(std::move(row));
  }
}

void BrowsersListChooser::showFloatingBrowsersWindow() {
  presenter_.cancelMenuTracking(selectionMenu_);
  trace_(trace::floatingWindowShown);

  const double width = static_cast<double>(visibleChoices_.size()) * kButtonSide;
  View container;
  container.frame = {0, 0, width, kButtonSide};
  if (!settings_.ensureBool(keys::hideChooserUrl, true)) {
    const std::string link = request_.currentLink();
    const int lines = urlLineCount(link, system_.isAtLeast(10, 11));
    View label;
    label.kind = View::Kind::textField;
    label.text = link;
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
  for (size_t i = 0; i < visibleChoices_.size(); ++i) {
    View button;
    button.kind = View::Kind::button;
    if (!visibleChoices_[i].image.empty()) {
      button.image = visibleChoices_[i].image;
      button.image.size = {kButtonSide, kButtonSide};
    }
    button.keyEquivalent = visibleChoices_[i].title;
    button.action = visibleChoices_[i].action;
    button.frame = {static_cast<double>(i) * kButtonSide, 0, kButtonSide, kButtonSide};
    button.bordered = false;
    container.subviews.push_back(std::move(button));
  }
  window_.show(std::move(container), events_.mouseLocation());
}

void BrowsersListChooser::openChoice(const MenuItem& sender) {
  window_.hide();
  launcher_.launchBrowser(request_.currentLink(), sender.keyEquivalent);
}

void BrowsersListChooser::close() { window_.hide(); }

}  // namespace routelle
