#pragma once
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Application.h"
#include "platform/FileManager.h"
#include "routing/CleaningTables.h"
#include "settings/SettingsStore.h"

namespace routelle {

// What cleaning did to one link, so that it can be shown ("explain").
struct CleanedLink {
  std::string before;
  std::string after;
  std::vector<std::string> changedBy;  // the entries that changed it, in the order they did
  bool changed() const { return before != after; }
};

// Unwraps redirect links to where they go and strips tracking parameters,
// touching nothing else: every other parameter keeps its bytes and its place,
// and the fragment stays. Only http(s) links are cleaned, never .onion ones.
CleanedLink cleanLink(std::string_view link, const std::vector<const CleaningTables*>& tables);

// The entry that unwraps links like this one ("unwrap HOST PATH PARAMETER"): its
// host and path, and the first parameter that holds an http(s) link. Nothing
// when no parameter holds one, or the link could not be written as an entry.
std::optional<std::string> unwrapEntryLine(std::string_view wrappedLink);
// "strip NAME" for a parameter name ("NAME*": every parameter starting so);
// nothing for what cannot be one (a blank, "&", "=", "?", "#", a lone "*"...).
std::optional<std::string> stripEntryLine(std::string_view parameterName);

// The user's own entry for what they typed: a parameter name, or a redirect link
// to unwrap; otherwise nothing, and why in words.
struct UserCleaningEntry {
  std::optional<std::string> line;
  std::string refusal;
};
UserCleaningEntry readUserCleaningEntry(const std::string& typed);
// Appends the line to "cleanLinksAdditions" unless it is there already; false
// when it could not be stored.
bool addUserCleaningEntry(SettingsStore& settings, const std::string& line);

// "Clean Links": the shipped entries (the bundle's "LinkCleaning.txt") with the
// user's own ("cleanLinksAdditions"), applied to each link before it is routed.
class LinkCleaner {
 public:
  LinkCleaner(SettingsStore& settings, Application& application, FileManager& files);

  bool enabled() const;
  // The link as it is routed: cleaned when "Clean Links" is on, else nothing.
  std::optional<CleanedLink> cleanIfEnabled(const std::string& link);
  CleanedLink clean(const std::string& link);

 private:
  const CleaningTables& shipped();
  const CleaningTables& additions();

  SettingsStore& settings_;
  Application& application_;
  FileManager& files_;
  std::optional<CleaningTables> shipped_;
  // Decoded once per stored list.
  std::shared_ptr<const StoredListView> additionsSource_;
  CleaningTables additions_;
};

}  // namespace routelle
