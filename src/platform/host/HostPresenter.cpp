#include "platform/host/HostPresenter.h"

#include "platform/host/MenuDescription.h"
#include "platform/host/MenuPath.h"
#include "support/Text.h"

namespace routelle {

namespace {

std::string describeButton(const View& view) {
  std::string line = "  button ";
  if (!view.text.empty()) line += "\"" + view.text + "\" ";
  line += "[" + view.keyEquivalent + "]\t" + view.action;
  if (!view.image.empty()) line += " <image " + view.image.name + ">";
  // Titled buttons (the selection panel's) show where they are and how they look.
  if (!view.text.empty()) {
    line += " at (" + describeNumber(view.frame.x) + ", " + describeNumber(view.frame.y) + ") " +
            describeNumber(view.frame.width) + "x" + describeNumber(view.frame.height);
    if (!view.fontName.empty()) line += " font \"" + view.fontName + "\" " + describeNumber(view.fontSize);
    if (!view.textColor.empty()) line += " " + view.textColor;
    if (!view.alignment.empty()) line += " " + view.alignment;
    if (view.bordered) line += " bordered";
  }
  return line;
}

}  // namespace

std::optional<MenuItem> HostPresenter::popUpMenu(const Menu& menu, Point location) {
  onMainThread_("Presenter::popUpMenu");
  dismissHeldMenu();
  const std::string at = "at (" + describeNumber(location.x) + ", " + describeNumber(location.y) + ")";
  if (&menu == statusMenu_) {
    transcript_.add("status menu " + at);
  } else {
    transcript_.add("menu " + at + ":");
    describeMenu(menu, 1, [this](const std::string& line) { transcript_.add(line); });
  }
  if (choice) {
    const auto match = findMenuEntry(menu, *choice, {.leafOnly = true});
    if (match.item) {
      transcript_.add("chose \"" + *choice + "\"");
      choice.reset();
      return *match.item;
    }
    choiceMisses.push_back(match.problem);
  }
  if (holdUnansweredMenus) heldMenu_ = menu;
  if (!holdUnansweredMenus) transcript_.add("menu dismissed");
  return std::nullopt;
}

std::optional<MenuItem> HostPresenter::answerHeldMenu(const std::string& path) {
  onMainThread_("HostPresenter::answerHeldMenu");
  if (!heldMenu_) return std::nullopt;
  const auto match = findMenuEntry(*heldMenu_, path, {.leafOnly = true});
  if (!match.item) return std::nullopt;
  MenuItem chosen = *match.item;
  heldMenu_.reset();
  transcript_.add("chose \"" + path + "\"");
  return chosen;
}

void HostPresenter::dismissHeldMenu() {
  onMainThread_("HostPresenter::dismissHeldMenu");
  if (!heldMenu_) return;
  heldMenu_.reset();
  transcript_.add("menu dismissed");
}

bool HostPresenter::floatingWindowVisible() {
  onMainThread_("Presenter::floatingWindowVisible");
  return windowVisible_;
}

void HostPresenter::cancelMenuTracking(const Menu&) { onMainThread_("Presenter::cancelMenuTracking"); }

void HostPresenter::activate(bool) { onMainThread_("Presenter::activate"); }

void HostPresenter::showFloatingWindow(const WindowModel& window, Point origin) {
  onMainThread_("Presenter::showFloatingWindow");
  window_ = window;
  windowVisible_ = true;
  transcript_.add("window at (" + describeNumber(origin.x) + ", " + describeNumber(origin.y) + ") " +
                  describeNumber(window.frame.width) + "x" + describeNumber(window.frame.height) + ":");
  for (const auto& view : window.content.subviews) {
    if (view.kind == View::Kind::button)
      transcript_.add(describeButton(view));
    else if (view.kind == View::Kind::textField)
      transcript_.add("  text \"" + view.text + "\" " + describeNumber(view.frame.width) + "x" +
                      describeNumber(view.frame.height));
  }
}

void HostPresenter::orderOutFloatingWindow() {
  onMainThread_("Presenter::orderOutFloatingWindow");
  if (windowVisible_) transcript_.add("window closed");
  windowVisible_ = false;
}

void HostPresenter::showStatusItem(const StatusItemModel& item, const Menu& menu) {
  onMainThread_("Presenter::showStatusItem");
  statusMenu_ = &menu;
  const bool changed = !statusItem_ || statusItem_->image.name != item.image.name ||
                       statusItem_->image.size != item.image.size || statusItem_->title != item.title;
  statusItem_ = item;
  if (changed)
    transcript_.add("status item <image " + item.image.name + " " + describeNumber(item.image.size.width) + "x" +
                    describeNumber(item.image.size.height) + ">" +
                    (item.title.empty() ? "" : " \"" + item.title + "\""));
}

void HostPresenter::removeStatusItem() {
  onMainThread_("Presenter::removeStatusItem");
  if (statusItem_) transcript_.add("status item removed");
  statusItem_.reset();
}

int HostPresenter::runModalAlert(AlertModel& alert) {
  onMainThread_("Presenter::runModalAlert");
  if (alert.accessory) return answerDialog(alert);
  transcript_.add("alert (" + alert.style + "): " + alert.messageText);
  if (!alert.informativeText.empty()) transcript_.add("  " + alert.informativeText);
  int pressed = 0;
  std::string buttons;
  for (size_t i = 0; i < alert.buttons.size(); ++i) {
    transcript_.add("  button \"" + alert.buttons[i] + "\"");
    buttons += (buttons.empty() ? "\"" : ", \"") + alert.buttons[i] + "\"";
    if (choice && alert.buttons[i] == *choice) pressed = static_cast<int>(i);
  }
  if (choice && !alert.buttons.empty() && alert.buttons[static_cast<size_t>(pressed)] != *choice)
    choiceMisses.push_back("the alert \"" + alert.messageText + "\" has the buttons " + buttons);
  if (!alert.buttons.empty()) transcript_.add("pressed \"" + alert.buttons[static_cast<size_t>(pressed)] + "\"");
  if (choice && !alert.buttons.empty() && alert.buttons[static_cast<size_t>(pressed)] == *choice) choice.reset();
  return pressed;
}

void HostPresenter::beginOpenPanel(const OpenPanelModel& panel, std::function<void(std::optional<std::string>)> done) {
  onMainThread_("Presenter::beginOpenPanel");
  std::string types;
  for (const auto& t : panel.allowedFileTypes) types += (types.empty() ? "" : ",") + t;
  const std::string what = panel.canChooseFiles ? (types.empty() ? "any file" : types) : "a folder";
  transcript_.add("open panel" + (panel.prompt.empty() ? "" : " \"" + panel.prompt + "\"") + " in " + panel.directory +
                  " for " + what);
  auto answer = answerProblem ? std::nullopt : openPanelAnswer;
  openPanelAnswer.reset();
  auto finish = [this, answer, done = std::move(done)] {
    transcript_.add(answer ? "chose " + *answer : std::string("cancelled"));
    done(answer);
  };
  // The user turns to the panel once the current event, and any dialog, is over.
  if (sessions_.empty())
    mainQueue_.schedule(0, std::move(finish));
  else
    panelsAfterDialog_.push_back(std::move(finish));
}

void HostPresenter::showWindow(const std::string& name, const WindowModel& window) {
  onMainThread_("Presenter::showWindow");
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
  onMainThread_("Presenter::orderOutWindow");
  if (windows_.erase(name)) transcript_.add("window \"" + name + "\" closed");
}

std::optional<MenuItem> HostPresenter::takeWindowChoice() {
  onMainThread_("HostPresenter::takeWindowChoice");
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
  std::string offered;
  auto offer = [&offered](const std::string& name) { offered += (offered.empty() ? "\"" : ", \"") + name + "\""; };
  if (windowVisible_ && window_)
    for (const auto& view : window_->content.subviews)
      if (view.kind == View::Kind::button) offer(view.keyEquivalent);
  for (const auto& [name, window] : windows_)
    for (const auto& view : window.content.subviews)
      if (view.kind == View::Kind::button) offer(view.text);
  if (!offered.empty()) choiceMisses.push_back("the window's buttons are " + offered);
  return std::nullopt;
}

std::optional<MenuItem> HostPresenter::pressWindowButton(const std::string& titleOrKey) {
  onMainThread_("HostPresenter::pressWindowButton");
  if (!windowVisible_ || !window_) return std::nullopt;
  const View* pressed = nullptr;
  std::string how;
  for (const auto& view : window_->content.subviews)
    if (!pressed && view.kind == View::Kind::button && !view.text.empty() && view.text == titleOrKey) {
      pressed = &view;
      how = "clicked \"" + view.text + "\"";
    }
  for (const auto& view : window_->content.subviews)
    if (!pressed && view.kind == View::Kind::button && view.keyEquivalent == titleOrKey) {
      pressed = &view;
      how = view.text.empty() ? "clicked [" + view.keyEquivalent + "]" : "typed \"" + view.keyEquivalent + "\"";
    }
  if (!pressed) return std::nullopt;
  transcript_.add(how);
  MenuItem sender;
  sender.title = pressed->text.empty() ? pressed->keyEquivalent : pressed->text;
  sender.keyEquivalent = pressed->keyEquivalent;
  sender.action = pressed->action;
  return sender;
}

}  // namespace routelle
