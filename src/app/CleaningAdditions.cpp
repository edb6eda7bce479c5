#include "app/CleaningAdditions.h"

#include "routing/LinkCleaner.h"
#include "settings/Keys.h"

namespace routelle {
namespace {

constexpr std::string_view kTitle = "Add to Clean Links";
constexpr std::string_view kExplanation =
    "Type the name of a tracking parameter to remove from links (mkt_tok, ref_*), or paste a redirect link as "
    "you received it to open where it leads.";
constexpr Rect kFieldFrame{0, 0, 300, 24};

AlertModel dialog() {
  View field;
  field.kind = View::Kind::textField;
  field.identifier = "cleaning";
  field.frame = kFieldFrame;
  field.editable = true;
  field.selectable = true;
  field.placeholder = "utm_source, or https://redirect.example/?url=...";
  View accessory;
  accessory.frame = kFieldFrame;
  accessory.subviews.push_back(std::move(field));
  return AlertModel{
      std::string(kTitle), std::string(kExplanation), "informational", {"OK", "Cancel"}, std::move(accessory)};
}

}  // namespace

CleaningAdditions::CleaningAdditions(const Dependencies& deps)
    : settings_(deps.settings), presenter_(deps.presenter), application_(deps.application), trace_(deps.trace) {}

void CleaningAdditions::addFromDialog() {
  application_.activateIgnoringOtherApps(true);
  AlertModel shown = dialog();
  if (presenter_.runModalAlert(shown) != 0) return;
  const std::string typed = shown.accessory->subviews.front().text;
  if (typed.find_first_not_of(" \t\r\n") == std::string::npos) return;
  const UserCleaningEntry reading = readUserCleaningEntry(typed);
  if (!reading.line) {
    AlertModel refusal{reading.refusal, std::string(kExplanation), "warning", {"OK"}, std::nullopt};
    presenter_.runModalAlert(refusal);
    return;
  }
  if (!addUserCleaningEntry(settings_, *reading.line)) {
    settings_.report()("\"" + *reading.line + "\" could not be stored");
    return;
  }
  trace_("added to Clean Links: " + *reading.line);
}

}  // namespace routelle
