// The on/off settings of the status menu.
#include <algorithm>
#include <cmath>
#include <string>

#include "app/AppDelegate.h"
#include "app/MakerPages.h"
#include "settings/Keys.h"

namespace routelle {
namespace {

// A missing key first takes its default, so the first use turns the default over.
bool flipBool(SettingsStore& settings, std::string_view key, bool def) {
  bool now = false;
  settings.transaction([&] {
    now = !settings.ensureBool(key, def);
    settings.setBool(key, now);
  });
  return now;
}

// The slider itself, or the slider inside the entry's view.
const View* sliderOf(const MenuItem& sender) {
  if (!sender.view) return nullptr;
  if (sender.view->kind == View::Kind::slider) return sender.view.get();
  for (const auto& sub : sender.view->subviews)
    if (sub.kind == View::Kind::slider) return &sub;
  return nullptr;
}

}  // namespace

void AppDelegate::openBack(const MenuItem&) {
  flipBool(s_.settings, keys::background, false);
  refreshMenu();
}

void AppDelegate::only(const MenuItem&) {
  const bool menuBarOnly = flipBool(s_.settings, keys::hide, false);
  s_.application.setActivationPolicy(menuBarOnly ? ActivationPolicy::accessory : ActivationPolicy::regular);
}

void AppDelegate::hideAllOnly(const MenuItem&) {
  if (s_.settings.ensureBool(keys::hideAll, false)) {
    // The status item is only created at start-up, so showing it again takes a restart.
    s_.settings.setBool(keys::hideAll, false);
    s_.presenter.runModalAlert(AlertModel{"Shutting Down Routelle...",
                                          "This change will take effect next time you open Routelle.",
                                          "warning",
                                          {"OK"},
                                          std::nullopt});
    s_.application.terminate();
    return;
  }
  s_.settings.setBool(keys::hideAll, true);
  s_.presenter.removeStatusItem();
  statusBarItem = false;
}

void AppDelegate::onlyx(const MenuItem&) { flipBool(s_.settings, keys::imonly, false); }
void AppDelegate::showEdit(const MenuItem&) { flipBool(s_.settings, keys::showeditor, false); }
void AppDelegate::changeHexit(const MenuItem&) { flipBool(s_.settings, keys::hideExit, true); }
void AppDelegate::changesUrl(const MenuItem&) { flipBool(s_.settings, keys::hideUrl, true); }

void AppDelegate::changeIcon(const MenuItem&) {
  s_.settings.ensureDouble(keys::menuBarIconSize, 16.0);
  flipBool(s_.settings, keys::clicon, true);
  applyStatusIcon();
}

void AppDelegate::slideMove(const MenuItem& sender) {
  const View* slider = sliderOf(sender);
  if (!slider || std::isnan(slider->value)) return;
  // The slider never leaves its range; a value from elsewhere is held to it.
  double size = slider->value;
  if (slider->maxValue > slider->minValue) size = std::clamp(size, slider->minValue, slider->maxValue);
  s_.settings.setDouble(keys::menuBarIconSize, size);
  applyStatusIcon();
}

void AppDelegate::expActive(const MenuItem&) {
  s_.settings.ensureBool(keys::experimental, false);
  if (s_.accessibility.isProcessTrusted(true)) flipBool(s_.settings, keys::experimental, false);
  refreshMenu();
}

void AppDelegate::expiActive(const MenuItem&) {
  if (s_.settings.ensureBool(keys::experimental2, false)) {
    stopTabWatcher();
    s_.settings.setBool(keys::experimental2, false);
  } else {
    startTabWatcher();
    s_.settings.setBool(keys::experimental2, true);
  }
  refreshMenu();
}

// Both entries switch: the sender is not consulted.
void AppDelegate::changePriority(const MenuItem&) {
  bool unexpected = false;
  s_.settings.transaction([&] {
    const std::string priority = s_.settings.ensureString(keys::priority, values::priorityDomainsFirst);
    if (priority == values::priorityDomainsFirst)
      s_.settings.setString(keys::priority, values::priorityAppsFirst);
    else if (priority == values::priorityAppsFirst)
      s_.settings.setString(keys::priority, values::priorityDomainsFirst);
    else
      unexpected = true;
  });
  if (unexpected) trace("0");
  refreshMenu();
}

void AppDelegate::changeBehavior(const MenuItem&) {
  s_.settings.transaction(
      [&] {
        const auto behavior = s_.settings.getInteger(keys::sharebehavior, Domain::suite);
        s_.settings.setInteger(keys::sharebehavior, !behavior || *behavior == 1 ? 0 : 1, Domain::suite);
      },
      Domain::suite);
  refreshMenu();
}

void AppDelegate::openBrowserExtensionsPageWithSender(const MenuItem& sender) {
  const std::string extensions(pages::extensions);
  const std::string chrome = extensions + "#chrome";
  auto installed = [this](const char* name) { return s_.workspace.fullPathForApplication(name).has_value(); };
  const std::string& browser = sender.title;

  if (browser == "Safari") {
    launchBrowser(extensions, "Safari");
  } else if (browser == "Firefox") {
    if (installed("Firefox"))
      launchBrowser(std::string(pages::firefoxAddOn), "Firefox");
    else
      launchBrowser(extensions, "Safari");
  } else if (browser == "Opera") {
    launchBrowser(extensions + "#", installed("Opera") ? "Opera" : "Safari");
  } else if (browser == "Google Chrome" || browser == "Chromium") {
    const char* other = browser == "Chromium" ? "Google Chrome" : "Chromium";
    if (installed(browser.c_str()))
      launchBrowser(chrome, browser);
    else if (installed(other))
      launchBrowser(chrome, other);
    else
      launchBrowser(chrome, "Safari");
  } else if (browser == "Roccat") {
    launchBrowser(extensions, installed("Roccat") ? "Roccat" : "Safari");
  }
}

// No refresh: the submenu shows the new state at its next rebuild.
void AppDelegate::hideBrowsersWithSender(const MenuItem& sender) { s_.registry.hideBrowsersWithSender(sender.title); }

}  // namespace routelle
