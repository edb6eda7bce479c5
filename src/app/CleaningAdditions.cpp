#include "app/CleaningAdditions.h"

#include "routing/LinkCleaner.h"
#include "settings/Keys.h"
#include "support/Text.h"

namespace routelle {
namespace {

constexpr std::string_view kTitle = "Add to Clean Links";
constexpr std::string_view kExplanation =
    "Type the name of a tracking parameter to remove from links (mkt_tok, ref_*), or paste a redirect link as "
    "you received it to open where it leads.";
constexpr Rect kFieldFrame{0, 0, 300, 24};

std::string trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

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

CleaningAdditions::Reading CleaningAdditions::read(const std::string& typed) {
  const std::string text = trimmed(typed);
  const std::string lower = text::lowercased(text);
  if (lower.starts_with("http://") || lower.starts_with("https://")) {
    if (auto line = unwrapEntryLine(text)) return {std::move(line), ""};
    return {std::nullopt, "This link does not carry another link to open: it is no redirect link."};
  }
  if (auto line = stripEntryLine(text)) return {std::move(line), ""};
  return {std::nullopt, "\"" + text + "\" is neither a parameter name nor a redirect link."};
}

bool CleaningAdditions::add(const std::string& line) {
  const auto stored = settings_.sharedList(keys::linkCleaningAdditions);
  std::vector<std::string> items;
  if (stored->state == StoredList::State::list) items = stored->items;
  for (const auto& item : items)
    if (item == line) return true;
  // Lists the program writes begin with "", as its other lists do.
  if (items.empty()) items.emplace_back();
  items.push_back(line);
  return settings_.setList(keys::linkCleaningAdditions, items);
}

void CleaningAdditions::addFromDialog() {
  application_.activateIgnoringOtherApps(true);
  AlertModel shown = dialog();
  if (presenter_.runModalAlert(shown) != 0) return;
  const std::string typed = shown.accessory->subviews.front().text;
  if (trimmed(typed).empty()) return;
  const Reading reading = read(typed);
  if (!reading.line) {
    AlertModel refusal{reading.refusal, std::string(kExplanation), "warning", {"OK"}, std::nullopt};
    presenter_.runModalAlert(refusal);
    return;
  }
  if (!add(*reading.line)) {
    settings_.report()("\"" + *reading.line + "\" could not be stored");
    return;
  }
  trace_("added to Clean Links: " + *reading.line);
}

}  // namespace routelle
