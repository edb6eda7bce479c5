#include "platform/host/HostInteraction.h"

#include <sstream>

namespace routelle {
namespace {

std::string number(double v) {
  std::ostringstream out;
  out << v;
  return out.str();
}

std::string describeItem(const MenuItem& item) {
  std::string details;
  auto add = [&](const std::string& part) { details += (details.empty() ? "\t" : " ") + part; };
  if (!item.action.empty()) add(item.action);
  if (!item.keyEquivalent.empty()) add("[" + item.keyEquivalent + "]");
  if (!item.enabled) add("(disabled)");
  if (!item.image.empty()) add("<image " + item.image.name + ">");
  if (item.view) {
    for (const auto& sub : item.view->subviews)
      if (sub.kind == View::Kind::textField)
        add("<text \"" + sub.text + "\" " + number(sub.frame.width) + "x" + number(sub.frame.height) + ">");
  }
  return item.title + details;
}

}  // namespace

void describeMenu(const Menu& menu, int level, const std::function<void(const std::string&)>& line) {
  const std::string indent(static_cast<size_t>(level) * 2, ' ');
  for (const auto& item : menu.items) {
    line(indent + (item.separator ? std::string("---") : describeItem(item)));
    if (item.submenu) describeMenu(*item.submenu, level + 1, line);
  }
}

std::optional<MenuItem> HostPresenter::popUpMenu(const Menu& menu, Point location) {
  transcript_.add("menu at (" + number(location.x) + ", " + number(location.y) + "):");
  describeMenu(menu, 1, [this](const std::string& line) { transcript_.add(line); });
  if (choice) {
    for (const auto& item : menu.items) {
      if (item.separator || item.title != *choice) continue;
      transcript_.add("chose \"" + item.title + "\"");
      choice.reset();
      return item;
    }
  }
  transcript_.add("menu dismissed");
  return std::nullopt;
}

void HostPresenter::showFloatingWindow(const WindowModel& window, Point origin) {
  window_ = window;
  windowVisible_ = true;
  transcript_.add("window at (" + number(origin.x) + ", " + number(origin.y) + ") " + number(window.frame.width) + "x" +
                  number(window.frame.height) + ":");
  for (const auto& view : window.content.subviews) {
    if (view.kind == View::Kind::button)
      transcript_.add("  button [" + view.keyEquivalent + "]\t" + view.action +
                      (view.image.empty() ? "" : " <image " + view.image.name + ">"));
    else if (view.kind == View::Kind::textField)
      transcript_.add("  text \"" + view.text + "\" " + number(view.frame.width) + "x" + number(view.frame.height));
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
    transcript_.add("status item <image " + item.image.name + " " + number(item.image.size.width) + "x" +
                    number(item.image.size.height) + ">" + (item.title.empty() ? "" : " \"" + item.title + "\""));
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
  transcript_.add("open panel in " + panel.directory + " for " + (types.empty() ? "any file" : types));
  auto answer = openPanelAnswer;
  openPanelAnswer.reset();
  transcript_.add(answer ? "chose " + *answer : std::string("cancelled"));
  done(answer);
}

void HostPresenter::showWindow(const std::string& name, const WindowModel& window) {
  windows_[name] = window;
  transcript_.add("window \"" + window.title + "\" " + number(window.frame.width) + "x" + number(window.frame.height) +
                  ":");
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
  if (!windowVisible_ || !window_ || !choice) return std::nullopt;
  for (const auto& view : window_->content.subviews) {
    if (view.kind != View::Kind::button || view.keyEquivalent != *choice) continue;
    transcript_.add("clicked [" + view.keyEquivalent + "]");
    choice.reset();
    MenuItem sender;
    sender.title = view.keyEquivalent;
    sender.keyEquivalent = view.keyEquivalent;
    sender.action = view.action;
    return sender;
  }
  return std::nullopt;
}

}  // namespace routelle
