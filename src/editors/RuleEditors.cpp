#include "editors/RuleEditors.h"

#include "editors/ApplicationList.h"
#include "settings/Keys.h"
#include "support/Text.h"

namespace routelle {
namespace {

constexpr std::string_view kCheck = "✓";

std::string modifierKeyText(const std::string& name) {
  return "Select a browser to open when a link is clicked with " + name +
         " key pressed.*\n*This option only works outside browsers" +
         ".\n\nOn Firefox with Routelle add-on installed, Right Click> click on Open with Routelle+" + name +
         ".\n\nOn Opera with Routelle extension installed, Right Click> click on Open with Routelle+" + name +
         ".\n\nOn Safari with Routelle Share Extension enabled and Share Extension Behavior on Routelle set to Open "
         "Routelle, Right Click>Share> click on Open with Routelle+" +
         name;
}

std::string domainDialogText() {
  return "Type a domain in the box and choose a browser to open it.\nex:" + std::string(kExampleDomain);
}

std::string trimmedBlanks(std::string text) {
  while (!text.empty() && text.back() == ' ') text.pop_back();
  const auto first = text.find_first_not_of(' ');
  return first == std::string::npos ? std::string() : text.substr(first);
}

}  // namespace

RuleEditors::RuleEditors(const Dependencies& deps)
    : rules_(deps.rules),
      registry_(deps.registry),
      workspace_(deps.workspace),
      files_(deps.files),
      presenter_(deps.presenter),
      application_(deps.application),
      runLoop_(deps.runLoop),
      statusMenu_(deps.statusMenu),
      chooser_(deps.chooser),
      trace_(deps.trace),
      dialog_(deps.settings, deps.workspace, deps.presenter, deps.application, deps.runLoop, deps.profiles),
      profiles_(deps.profiles) {}

void RuleEditors::fillApplicationsPopup() {
  runLoop_.schedule(0, [this] { dialog_.setApplications(localApplications(files_, workspace_)); });
}

void RuleEditors::refreshAfterRuleChange(bool rebuildBrowsersList) {
  statusMenu_.refreshMenu();  // the front tab again, then the menu's rebuild
  if (rebuildBrowsersList) chooser_.buildBrowsersListMenu();
}

bool RuleEditors::isProgramItself(const std::string& name) const {
  const auto identifier = registry_.bundleIdentifier(name);
  return identifier && text::equalsIgnoringCase(*identifier, domains::ownBundleIdentifier);
}

std::pair<std::string, std::string> RuleEditors::browserAndProfile(const std::string& chosen) const {
  if (const auto titled = splitProfileTitle(chosen))
    if (const auto profile = profiles_.find(titled->browser, titled->profile))
      return {titled->browser, profile->directory};
  return {chosen, ""};
}

void RuleEditors::addDomains() {
  application_.activateIgnoringOtherApps(false);
  const bool ok = dialog_.run("Domain", domainDialogText(), dialog_.freshDomainField());
  const auto [browser, profile] = browserAndProfile(dialog_.selectedBrowser().value_or(""));
  if (ok && !browser.empty() && !isProgramItself(browser)) {
    const std::string& typed = dialog_.typedText();
    // What can never be a link's host is refused in words, not stored to match nothing.
    const auto read = rules_.readTypedDomain(typed);
    if (read.stored) {
      if (rules_.addDomainRule(typed, browser))
        rules_.profiles().setProfile(RuleProfiles::domainRule(*read.stored), browser, profile);
    } else if (!read.refusal.empty()) {
      refuseDomain(read.refusal);
    } else if (typed.find_first_not_of(" \t\r\n") != std::string::npos) {
      refuseDomain("\"" + typed + "\" is not a domain name.");
    }
  }
  refreshAfterRuleChange(true);
}

void RuleEditors::refuseDomain(const std::string& why) {
  AlertModel refusal{why, domainDialogText(), "warning", {"OK"}, std::nullopt};
  presenter_.runModalAlert(refusal);
}

void RuleEditors::removeDomainRule(const MenuItem& sender) {
  rules_.removeDomainRule(sender.keyEquivalent);
  refreshAfterRuleChange(true);
}

void RuleEditors::addPerApp() {
  const bool ok = dialog_.run("Per App", "Select an App and choose a browser to open the urls.", true);
  const auto [browser, profile] = browserAndProfile(dialog_.selectedBrowser().value_or(""));
  const auto application = dialog_.selectedApplication();
  if (ok && !browser.empty() && application && !isProgramItself(browser) && rules_.addAppRule(*application, browser))
    rules_.profiles().setProfile(RuleProfiles::appRule(*application), browser, profile);
  refreshAfterRuleChange(true);
  trace_(ok ? trace::yes : trace::no);
}

// The dialog is cancelled from the main queue, after the pop-up's menu has
// closed; the file chooser's answer comes once it has gone.
void RuleEditors::chooseAnotherApp() {
  dialog_.cancelFromMainQueue();
  presenter_.beginOpenPanel(OpenPanelModel::forAnApplication(), [this](const std::optional<std::string>& path) {
    if (path) {
      std::string name = BrowserRegistry::displayNameOfBundle(*path);
      if (!name.empty()) dialog_.addChosenApplication(applicationEntry(std::move(name), workspace_));
    }
    addPerApp();
  });
}

void RuleEditors::removeAppRule(const MenuItem& sender) {
  rules_.removeAppRuleElement(sender.keyEquivalent);
  refreshAfterRuleChange(true);
}

void RuleEditors::editModifierKey(const MenuItem& sender) {
  const std::string& key = sender.keyEquivalent;
  const bool ok = dialog_.run(std::string(kModifierKeyTitle) + sender.title, modifierKeyText(sender.title), false);
  if (ok) {
    const auto target = dialog_.selectedBrowser();
    if (!target || *target == "None") {
      rules_.clearModifierRule(key);
    } else if (const auto [browser, profile] = browserAndProfile(*target); !isProgramItself(browser)) {
      rules_.setModifierRule(key, browser);
      rules_.setModifierBackground(key, dialog_.inBackground());
      rules_.profiles().setProfile(RuleProfiles::modifierRule(key), text::replaceAll(browser, ".app", ""), profile);
    }
  }
  refreshAfterRuleChange(true);
  trace_(ok ? trace::yes : trace::no);
}

void RuleEditors::setOnionRule(const MenuItem& sender) {
  // The chosen entry reads "Name ✓": the mark goes with the blank before it.
  const std::string name = trimmedBlanks(text::replaceAll(sender.title, kCheck, ""));
  if (name == "Disabled" || name == "Disable rule")
    rules_.clearOnionRule();
  else if (!name.empty() && !isProgramItself(name))
    rules_.setOnionRule(name);
  refreshAfterRuleChange(false);
}

void RuleEditors::removeAddedBrowser(const MenuItem& sender) {
  registry_.removeAddedIdentifier(sender.keyEquivalent);
  refreshAfterRuleChange(true);
}

}  // namespace routelle
