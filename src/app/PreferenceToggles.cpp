#include "app/PreferenceToggles.h"

#include <algorithm>
#include <cmath>
#include <string>

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

PreferenceToggles::PreferenceToggles(const Dependencies& deps)
    : settings_(deps.settings),
      registry_(deps.registry),
      accessibility_(deps.accessibility),
      application_(deps.application),
      presenter_(deps.presenter),
      workspace_(deps.workspace),
      statusMenu_(deps.statusMenu),
      launcher_(deps.launcher),
      tabWatcher_(deps.tabWatcher),
      trace_(deps.trace) {}

void PreferenceToggles::toggleOpenInBackground() {
  flipBool(settings_, keys::openInBackground, false);
  statusMenu_.refreshMenu();
}

void PreferenceToggles::toggleMenuBarOnly() {
  const bool menuBarOnly = flipBool(settings_, keys::menuBarOnly, false);
  application_.setActivationPolicy(menuBarOnly ? ActivationPolicy::accessory : ActivationPolicy::regular);
}

void PreferenceToggles::toggleHideMenuBar() {
  if (settings_.ensureBool(keys::hideMenuBar, false)) {
    // The status item is only created at start-up, so showing it again takes a restart.
    settings_.setBool(keys::hideMenuBar, false);
    AlertModel notice{"Shutting Down Routelle...",
                      "This change will take effect next time you open Routelle.",
                      "warning",
                      {"OK"},
                      std::nullopt};
    presenter_.runModalAlert(notice);
    application_.terminate();
    return;
  }
  settings_.setBool(keys::hideMenuBar, true);
  statusMenu_.removeStatusItem();
}

void PreferenceToggles::toggleImagesOnly() { flipBool(settings_, keys::imagesOnlyChooser, false); }
void PreferenceToggles::toggleMultipleFileTypes() { flipBool(settings_, keys::multipleFileTypes, false); }
void PreferenceToggles::toggleShowClose() { flipBool(settings_, keys::hideChooserClose, true); }
void PreferenceToggles::toggleShowUrl() { flipBool(settings_, keys::hideChooserUrl, true); }

void PreferenceToggles::toggleColoredIcon() {
  settings_.ensureDouble(keys::menuBarIconSize, 16.0);
  flipBool(settings_, keys::coloredIcon, true);
  statusMenu_.applyStatusIcon();
}

void PreferenceToggles::setIconSize(const MenuItem& sender) {
  const View* slider = sliderOf(sender);
  if (!slider || std::isnan(slider->value)) return;
  // The slider never leaves its range; a value from elsewhere is held to it.
  double size = slider->value;
  if (slider->maxValue > slider->minValue) size = std::clamp(size, slider->minValue, slider->maxValue);
  settings_.setDouble(keys::menuBarIconSize, size);
  statusMenu_.applyStatusIcon();
}

void PreferenceToggles::toggleSelectionList() {
  settings_.ensureBool(keys::selectionAssistant, false);
  if (accessibility_.isProcessTrusted(true)) flipBool(settings_, keys::selectionAssistant, false);
  statusMenu_.refreshMenu();
}

void PreferenceToggles::toggleTabWatcher() {
  if (settings_.ensureBool(keys::tabWatcher, false)) {
    tabWatcher_.stop();
    settings_.setBool(keys::tabWatcher, false);
  } else {
    tabWatcher_.start();
    settings_.setBool(keys::tabWatcher, true);
  }
  statusMenu_.refreshMenu();
}

void PreferenceToggles::togglePriority() {
  bool unexpected = false;
  settings_.transaction([&] {
    const std::string priority = settings_.ensureString(keys::rulePriority, values::priorityDomainsFirst);
    if (priority == values::priorityDomainsFirst)
      settings_.setString(keys::rulePriority, values::priorityAppsFirst);
    else if (priority == values::priorityAppsFirst)
      settings_.setString(keys::rulePriority, values::priorityDomainsFirst);
    else
      unexpected = true;
  });
  if (unexpected) trace_(trace::unexpectedPriority);
  statusMenu_.refreshMenu();
}

void PreferenceToggles::toggleShareBehavior() {
  settings_.transaction(
      [&] {
        const auto behavior = settings_.getInteger(keys::shareBehavior, Domain::suite);
        settings_.setInteger(keys::shareBehavior, !behavior || *behavior == 1 ? 0 : 1, Domain::suite);
      },
      Domain::suite);
  statusMenu_.refreshMenu();
}

void PreferenceToggles::toggleCleanLinks() {
  flipBool(settings_, keys::cleanLinks, false);
  statusMenu_.refreshMenu();
}

void PreferenceToggles::openBrowserExtensionsPage(const MenuItem& sender) {
  const std::string extensions(pages::extensions);
  const std::string chrome = extensions + "#chrome";
  auto installed = [this](const char* name) { return workspace_.fullPathForApplication(name).has_value(); };
  const std::string& browser = sender.title;

  if (browser == "Safari") {
    launcher_.launchBrowser(extensions, "Safari");
  } else if (browser == "Firefox") {
    if (installed("Firefox"))
      launcher_.launchBrowser(std::string(pages::firefoxAddOn), "Firefox");
    else
      launcher_.launchBrowser(extensions, "Safari");
  } else if (browser == "Opera") {
    launcher_.launchBrowser(extensions + "#", installed("Opera") ? "Opera" : "Safari");
  } else if (browser == "Google Chrome" || browser == "Chromium") {
    const char* other = browser == "Chromium" ? "Google Chrome" : "Chromium";
    if (installed(browser.c_str()))
      launcher_.launchBrowser(chrome, browser);
    else if (installed(other))
      launcher_.launchBrowser(chrome, other);
    else
      launcher_.launchBrowser(chrome, "Safari");
  } else if (browser == "Roccat") {
    launcher_.launchBrowser(extensions, installed("Roccat") ? "Roccat" : "Safari");
  }
}

// No refresh: the submenu shows the new state at its next rebuild.
void PreferenceToggles::toggleHiddenBrowser(const MenuItem& sender) { registry_.hideBrowsersWithSender(sender.title); }

}  // namespace routelle
