#include "app/LinkTester.h"

#include <array>
#include <utility>

#include "platform/Events.h"
#include "routing/DecisionText.h"

namespace routelle {
namespace {

constexpr std::string_view kNone = "None";
constexpr double kWidth = 420;

struct ModifierChoice {
  std::string_view title;
  std::uint64_t flags;
};
constexpr std::array<ModifierChoice, 5> kModifierChoices{{
    {kNone, 0},
    {"Shift", modifierFlags::shift},
    {"Control", modifierFlags::control},
    {"Option", modifierFlags::option},
    {"Command", modifierFlags::command},
}};

View label(std::string identifier, Rect frame, int lines) {
  View view;
  view.kind = View::Kind::textField;
  view.identifier = std::move(identifier);
  view.frame = frame;
  view.bordered = false;
  view.drawsBackground = false;
  view.selectable = true;
  view.maximumNumberOfLines = lines;
  return view;
}

View popUp(std::string identifier, Rect frame) {
  View view;
  view.kind = View::Kind::popUpButton;
  view.identifier = std::move(identifier);
  view.frame = frame;
  return view;
}

// The views, top to bottom: link field, source application, modifier key, decision, steps.
enum Field : std::size_t { linkField, applicationsField, modifiersField, decisionField, stepsField };

std::string selectedTitle(const View& popUp) {
  if (popUp.selectedIndex < 0 || static_cast<std::size_t>(popUp.selectedIndex) >= popUp.entries.size()) return "";
  return popUp.entries[static_cast<std::size_t>(popUp.selectedIndex)].title;
}

}  // namespace

LinkTester::LinkTester(Presenter& presenter, Application& application, Workspace& workspace, LinkIntake& intake)
    : presenter_(presenter), application_(application), workspace_(workspace), intake_(intake) {
  window_.messageText = "Test a Link";
  window_.informativeText = "Paste or type a link to see which browser would open it, and why. Nothing is opened.";
  window_.style = "informational";
  // The decision follows every edit, so there is nothing to confirm: one button closes.
  window_.buttons = {"OK"};
  window_.fieldChanged = [this](AlertModel&) { showDecisionForFields(); };
  View content;
  content.frame = {0, 0, kWidth, 236};
  View field;
  field.kind = View::Kind::textField;
  field.identifier = "link";
  field.frame = {0, 212, kWidth, 24};
  field.editable = true;
  field.selectable = true;
  field.placeholder = "https://example.com/page";
  content.subviews.push_back(std::move(field));
  content.subviews.push_back(popUp("applications", {0, 182, kWidth, 25}));
  View modifiers = popUp("modifiers", {0, 152, kWidth, 25});
  for (const auto& choice : kModifierChoices) modifiers.entries.push_back({std::string(choice.title), {}, ""});
  modifiers.selectedIndex = 0;
  content.subviews.push_back(std::move(modifiers));
  content.subviews.push_back(label("decision", {0, 124, kWidth, 22}, 1));
  content.subviews.push_back(label("steps", {0, 0, kWidth, 118}, 0));
  window_.accessory = std::move(content);
}

void LinkTester::fillApplications() {
  View& applications = window_.accessory->subviews[applicationsField];
  const std::string kept = selectedTitle(applications);
  applications.entries.clear();
  applications.entries.push_back({std::string(kNone), {}, ""});
  applications.selectedIndex = 0;
  for (const auto& app : workspace_.runningApplications()) {
    if (app.localizedName.empty()) continue;
    if (app.localizedName == kept) applications.selectedIndex = static_cast<int>(applications.entries.size());
    applications.entries.push_back({app.localizedName, {}, ""});
  }
}

void LinkTester::show() {
  application_.activateIgnoringOtherApps(true);
  fillApplications();
  // What the fields kept from the last time is decided anew: rules or running applications may have changed.
  showDecisionForFields();
  presenter_.runModalAlert(window_);
}

void LinkTester::showDecisionForFields() {
  auto& views = window_.accessory->subviews;
  const std::string& link = views[linkField].text;
  LinkMoment moment;
  if (const std::string from = selectedTitle(views[applicationsField]); !from.empty() && from != kNone)
    for (const auto& app : workspace_.runningApplications())
      if (app.localizedName == from) moment.previousApplication = app;
  const std::string key = selectedTitle(views[modifiersField]);
  for (const auto& choice : kModifierChoices)
    if (choice.title == key) moment.modifierFlags = choice.flags;
  if (link.find_first_not_of(" \t\r\n") == std::string::npos) {
    views[decisionField].text = "Type or paste a link above.";
    views[stepsField].text.clear();
    return;
  }
  const RoutingDecision decision = intake_.explainLink(link, moment);
  views[decisionField].text = decision.summary;
  std::string steps;
  for (const auto& step : decision.steps)
    steps += (step.decided ? "* " : "  ") + std::string(decisionStepName(step.kind)) + ": " + step.finding + "\n";
  if (!steps.empty()) steps.pop_back();
  views[stepsField].text = std::move(steps);
}

}  // namespace routelle
