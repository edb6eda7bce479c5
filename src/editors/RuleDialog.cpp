#include "editors/RuleDialog.h"

#include "routing/LinkText.h"
#include "settings/BrowserIdentifiers.h"
#include "settings/Keys.h"
#include "settings/RuleProfiles.h"
#include "support/Text.h"
#include "ui/Actions.h"
#include "ui/ImageRef.h"

namespace routelle {
namespace {

constexpr std::string_view kOk = "OK";
constexpr std::string_view kCancel = "Cancel";
constexpr std::string_view kDomainTitle = "Domain";
constexpr std::string_view kPerAppTitle = "Per App";
constexpr std::string_view kNone = "None";

constexpr Rect kAccessoryFrame{0, 0, 300, 56};
constexpr Rect kBrowsersFrame{0, 0, 300, 25};
constexpr Rect kUpperFrame{0, 30, 300, 20};  // the text field or the applications
constexpr Rect kModifierBrowsersFrame{0, 30, 300, 25};
constexpr Rect kCheckboxFrame{0, 0, 300, 20};

View popUpButton(std::string identifier) {
  View view;
  view.kind = View::Kind::popUpButton;
  view.identifier = std::move(identifier);
  return view;
}

View emptyTextField() {
  View view;
  view.kind = View::Kind::textField;
  view.identifier = "domain";
  view.editable = true;
  view.selectable = true;
  return view;
}

View checkbox() {
  View view;
  view.kind = View::Kind::button;
  view.identifier = "background";
  view.buttonType = View::ButtonType::checkbox;
  view.text = "Open in background";
  return view;
}

ImageRef listIcon(const std::string& path) { return ImageRef::iconOf(path, {kListIconSide, kListIconSide}); }

bool isOwnIdentifier(const std::string& identifier) {
  return text::equalsIgnoringCase(identifier, domains::ownBundleIdentifier);
}

std::optional<std::string> selectedTitle(const View& popUp) {
  if (popUp.selectedIndex < 0 || static_cast<std::size_t>(popUp.selectedIndex) >= popUp.entries.size())
    return std::nullopt;
  return popUp.entries[static_cast<std::size_t>(popUp.selectedIndex)].title;
}

PopUpEntry chooseAnotherAppEntry() {
  return PopUpEntry{std::string(kChooseAnotherApp), {}, selector(Action::chooseAnotherApp)};
}

}  // namespace

RuleDialog::RuleDialog(SettingsStore& settings, Workspace& workspace, Presenter& presenter, Application& application,
                       RunLoop& runLoop, BrowserProfiles& profiles)
    : settings_(settings),
      workspace_(workspace),
      presenter_(presenter),
      application_(application),
      runLoop_(runLoop),
      profiles_(profiles),
      browserPopup_(popUpButton("browsers")),
      applicationsPopup_(popUpButton("applications")),
      domainField_(emptyTextField()),
      backgroundCheckbox_(checkbox()) {
  applicationsPopup_.entries.push_back(chooseAnotherAppEntry());
  applicationsPopup_.selectedIndex = 0;
}

void RuleDialog::fillBrowsers() {
  auto& entries = browserPopup_.entries;
  entries.clear();
  for (const auto& identifier : knownBrowserIdentifiers(workspace_))
    if (auto path = workspace_.pathForBundleIdentifier(identifier)) {
      const std::string name = appNameFromPath(*path);
      entries.push_back({name, listIcon(*path), {}});
      for (const auto& profile : profiles_.profilesOf(name))
        entries.push_back({name + std::string(kProfileSeparator) + profile.name, listIcon(*path), {}});
    }
  // Added browsers go by their bundle's file name, ".app" included; the program
  // itself is never offered: links sent to it would come straight back.
  for (const auto added : settings_.sharedList(keys::addedBrowsers)->items) {
    const std::string identifier(added);
    if (identifier.empty() || isOwnIdentifier(identifier)) continue;
    if (auto path = workspace_.pathForBundleIdentifier(identifier))
      entries.push_back({text::lastPathComponent(*path), listIcon(*path), {}});
  }
  // A pop-up button shows its first entry until another is chosen.
  browserPopup_.selectedIndex = entries.empty() ? -1 : 0;
}

void RuleDialog::layOutModifierKey(const std::string& title) {
  const std::string key = text::lowercased(std::string_view(title).substr(kModifierKeyTitle.size()));
  for (std::string_view special : {kNone, values::showBrowsersList, values::useOpenedBrowser})
    browserPopup_.entries.push_back({std::string(special), {}, {}});
  browserPopup_.frame = kModifierBrowsersFrame;
  backgroundCheckbox_ = checkbox();
  backgroundCheckbox_.frame = kCheckboxFrame;
  // The stored target, or "None" when there is none or it is no longer offered.
  const auto stored = settings_.getString(key);
  std::string wanted = stored ? *stored : std::string(kNone);
  // Its profile is shown as the profile's own entry while the browser still lists it;
  // otherwise the browser itself, which is where the link then opens.
  if (stored)
    if (const auto directory =
            RuleProfiles(settings_).profileFor(RuleProfiles::modifierRule(key), text::replaceAll(*stored, ".app", "")))
      if (const auto profile = profiles_.find(*stored, *directory))
        wanted = *stored + std::string(kProfileSeparator) + profile->name;
  int none = -1;
  browserPopup_.selectedIndex = -1;
  for (std::size_t i = 0; i < browserPopup_.entries.size(); ++i) {
    const auto& entryTitle = browserPopup_.entries[i].title;
    if (entryTitle == kNone) none = static_cast<int>(i);
    if (entryTitle == wanted && browserPopup_.selectedIndex < 0) browserPopup_.selectedIndex = static_cast<int>(i);
  }
  if (browserPopup_.selectedIndex < 0) browserPopup_.selectedIndex = none;
  if (auto back = settings_.getBool(key + std::string(keys::backgroundSuffix))) backgroundCheckbox_.checked = *back;
}

bool RuleDialog::run(const std::string& title, const std::string& informativeText, bool freshInput) {
  if (running_) return false;
  application_.activateIgnoringOtherApps(true);
  dialog_ = AlertModel{title, informativeText, "warning", {std::string(kOk), std::string(kCancel)}, std::nullopt};

  fillBrowsers();
  View accessory;
  accessory.frame = kAccessoryFrame;
  browserPopup_.frame = kBrowsersFrame;
  if (title == kDomainTitle) {
    if (freshInput) domainField_ = emptyTextField();
    freshDomainField_ = true;
    domainField_.frame = kUpperFrame;
    domainField_.placeholder = "Domain ex:" + std::string(kExampleDomain);
    accessory.subviews.push_back(domainField_);
  } else if (title == kPerAppTitle) {
    applicationsPopup_.frame = kUpperFrame;
    if (resetApplicationChoice_) applicationsPopup_.selectedIndex = applicationsPopup_.entries.empty() ? -1 : 0;
    resetApplicationChoice_ = true;
    accessory.subviews.push_back(applicationsPopup_);
  } else if (title.starts_with(kModifierKeyTitle)) {
    layOutModifierKey(title);
    accessory.subviews.push_back(backgroundCheckbox_);
  }
  accessory.subviews.push_back(browserPopup_);
  dialog_.accessory = std::move(accessory);

  running_ = true;
  const int pressed = presenter_.runModalAlert(dialog_);
  running_ = false;
  readBack(dialog_);
  return pressed == 0;
}

// The controls keep what the user left in them.
void RuleDialog::readBack(const AlertModel& shown) {
  if (!shown.accessory) return;
  for (const auto& view : shown.accessory->subviews) {
    if (view.identifier == browserPopup_.identifier)
      browserPopup_.selectedIndex = view.selectedIndex;
    else if (view.identifier == applicationsPopup_.identifier)
      applicationsPopup_.selectedIndex = view.selectedIndex;
    else if (view.identifier == domainField_.identifier)
      domainField_.text = view.text;
    else if (view.identifier == backgroundCheckbox_.identifier)
      backgroundCheckbox_.checked = view.checked;
  }
}

std::optional<std::string> RuleDialog::selectedBrowser() const { return selectedTitle(browserPopup_); }

std::optional<std::string> RuleDialog::selectedApplication() const {
  const auto& entries = applicationsPopup_.entries;
  // "Choose another app" is always last and names no application.
  if (applicationsPopup_.selectedIndex + 1 == static_cast<int>(entries.size())) return std::nullopt;
  return selectedTitle(applicationsPopup_);
}

void RuleDialog::setApplications(std::vector<PopUpEntry> applications) {
  applicationsPopup_.entries = std::move(applications);
  applicationsPopup_.entries.push_back(chooseAnotherAppEntry());
  applicationsPopup_.selectedIndex = 0;
}

void RuleDialog::addChosenApplication(PopUpEntry application) {
  auto& entries = applicationsPopup_.entries;
  if (!entries.empty()) entries.pop_back();
  entries.push_back(std::move(application));
  entries.push_back(chooseAnotherAppEntry());
  applicationsPopup_.selectedIndex = static_cast<int>(entries.size()) - 2;
  resetApplicationChoice_ = false;
}

void RuleDialog::cancelFromMainQueue() {
  runLoop_.schedule(0, [this] {
    if (running_) presenter_.pressAlertButton(dialog_.buttons.size() - 1);
  });
}

}  // namespace routelle
