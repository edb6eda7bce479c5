#include "platform/host/HostPresenter.h"

#include "platform/host/MenuDescription.h"
#include "support/Text.h"

namespace routelle {

std::optional<MenuItem> HostPresenter::popUpMenu(const Menu& menu, Point location) {
  transcript_.add("menu at (" + describeNumber(location.x) + ", " + describeNumber(location.y) + "):");
  describeMenu(menu, 1, [this](const std::string& line) { transcript_.add(line); });
  if (choice) {
    // "A > B" reaches into submenus, as the user's pointer would.
    const Menu* level = &menu;
    const MenuItem* picked = nullptr;
    for (const auto& title : text::split(*choice, " > ")) {
      picked = nullptr;
      if (!level) break;
      for (const auto& item : level->items)
        if (!item.separator && item.title == title) {
          picked = &item;
          break;
        }
      if (!picked) break;
      level = picked->submenu.get();
    }
    if (picked && !picked->submenu) {
      transcript_.add("chose \"" + *choice + "\"");
      choice.reset();
      return *picked;
    }
  }
  transcript_.add("menu dismissed");
  return std::nullopt;
}

void HostPresenter::showFloatingWindow(const WindowModel& window, Point origin) {
  window_ = window;
  windowVisible_ = true;
  transcript_.add("window at (" + describeNumber(origin.x) + ", " + describeNumber(origin.y) + ") " +
                  describeNumber(window.frame.width) + "x" + describeNumber(window.frame.height) + ":");
  for (const auto& view : window.content.subviews) {
    if (view.kind == View::Kind::button)
      transcript_.add("  button [" + view.keyEquivalent + "]\t" + view.action +
                      (view.image.empty() ? "" : " <image " + view.image.name + ">"));
    else if (view.kind == View::Kind::textField)
      transcript_.add("  text \"" + view.text + "\" " + describeNumber(view.frame.width) + "x" +
                      describeNumber(view.frame.height));
  }
}

void HostPresenter::orderOutFloatingWindow() {
  if (windowVisible_) transcript_.add("window closed");
  windowVisible_ = false;
}

void HostPresenter::showStatusItem(const StatusItemModel& item, const Menu&) {
  const bool changed = !statusItem_ || statusItem_->image.name != item.image.name ||
                       statusItem_->image.size != item.image.size || statusItem_->title != item.title;
  statusItem_ = item;
  if (changed)
    transcript_.add("status item <image " + item.image.name + " " + describeNumber(item.image.size.width) + "x" +
                    describeNumber(item.image.size.height) + ">" +
                    (item.title.empty() ? "" : " \"" + item.title + "\""));
}

void HostPresenter::removeStatusItem() {
  if (statusItem_) transcript_.add("status item removed");
  statusItem_.reset();
}

int HostPresenter::runModalAlert(const AlertModel& alert) {
  transcript_.add("alert (" + alert.style + "): " + alert.messageText);
  if (!alert.informativeText.empty()) transcript_.add("  " + alert.informativeText);
  int pressed = 0;
  for (size_t i = 0; i < alert.buttons.size(); ++i) {
    transcript_.add("  button \"" + alert.buttons[i] + "\"");
    if (choice && alert.buttons[i] == *choice) pressed = static_cast<int>(i);
  }
  if (!alert.buttons.empty()) transcript_.add("pressed \"" + alert.buttons[static_cast<size_t>(pressed)] + "\"");
  if (choice && !alert.buttons.empty() && alert.buttons[static_cast<size_t>(pressed)] == *choice) choice.reset();
  return pressed;
}

void HostPresenter::beginOpenPanel(const OpenPanelModel& panel, std::function<void(std::optional<std::string>)> done) {
  std::string types;
  for (const auto& t : panel.allowedFileTypes) types += (types.empty() ? "" : ",") + t;
  const std::string what = panel.canChooseFiles ? (types.empty() ? "any file" : types) : "a folder";
  transcript_.add("open panel" + (panel.prompt.empty() ? "" : " \"" + panel.prompt + "\"") + " in " + panel.directory +
                  " for " + what);
  auto answer = openPanelAnswer;
  openPanelAnswer.reset();
  transcript_.add(answer ? "chose " + *answer : std::string("cancelled"));
  done(answer);
}

void HostPresenter::showWindow(const std::string& name, const WindowModel& window) {
  windows_[name] = window;
  transcript_.add("window \"" + window.title + "\" " + describeNumber(window.frame.width) + "x" +
                  describeNumber(window.frame.height) + ":");
  for (const auto& view : window.content.subviews) {
    if (view.kind == View::Kind::button)
      transcript_.add("  button \"" + view.text + "\"\t" + view.action);
    else if (view.kind == View::Kind::textField)
      transcript_.add("  text \"" + view.text + "\"");
    else if (view.kind == View::Kind::imageView)
      transcript_.add("  image <" + view.image.name + ">");
  }
}

void HostPresenter::orderOutWindow(const std::string& name) {
  if (windows_.erase(name)) transcript_.add("window \"" + name + "\" closed");
}

std::optional<MenuItem> HostPresenter::takeWindowChoice() {
  if (!choice) return std::nullopt;
  auto press = [this](const View& view, const std::string& label) {
    transcript_.add("clicked " + label);
    choice.reset();
    MenuItem sender;
    sender.title = view.text.empty() ? view.keyEquivalent : view.text;
    sender.keyEquivalent = view.keyEquivalent;
    sender.action = view.action;
    return sender;
  };
  // The floating window's buttons go by their key equivalent (the browser's name).
  if (windowVisible_ && window_)
    for (const auto& view : window_->content.subviews)
      if (view.kind == View::Kind::button && view.keyEquivalent == *choice)
        return press(view, "[" + view.keyEquivalent + "]");
  // Other windows' buttons go by their title.
  for (const auto& [name, window] : windows_)
    for (const auto& view : window.content.subviews)
      if (view.kind == View::Kind::button && view.text == *choice) return press(view, "\"" + view.text + "\"");
  return std::nullopt;
}

}  // namespace routelle
