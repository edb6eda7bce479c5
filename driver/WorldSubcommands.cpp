#include <plist/plist.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <ostream>
#include <sstream>

#include "Driver.h"
#include "HostSystem.h"
#include "platform/host/AppInstaller.h"
#include "platform/host/HostCalendar.h"
#include "platform/host/PlistParse.h"
#include "platform/posix/RegularFiles.h"
#include "settings/RuleProfiles.h"
#include "support/Text.h"

namespace routelle::driver {
namespace {

std::string quotedText(const std::string& s) {
  std::string out = "\"";
  for (char c : s) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

std::string describe(plist_t node, const HostListArchiver& archiver) {
  std::ostringstream out;
  switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
      uint8_t b = 0;
      plist_get_bool_val(node, &b);
      return b ? "true" : "false";
    }
    case PLIST_UINT: {
      uint64_t v = 0;
      plist_get_uint_val(node, &v);
      return std::to_string(static_cast<int64_t>(v));
    }
    case PLIST_REAL: {
      double d = 0;
      plist_get_real_val(node, &d);
      out << d;
      if (out.str().find_first_of(".en") == std::string::npos) out << ".0";
      return out.str();
    }
    case PLIST_STRING: {
      uint64_t length = 0;
      const char* s = plist_get_string_ptr(node, &length);
      return quotedText(s ? std::string(s, length) : std::string());
    }
    case PLIST_DATA: {
      uint64_t n = 0;
      const char* d = plist_get_data_ptr(node, &n);
      Bytes bytes(d, d + (d ? n : 0));
      auto list = archiver.unarchive(bytes);
      if (!list) return "<data, " + std::to_string(n) + " bytes, not an archived list>";
      out << "(";
      for (size_t i = 0; i < list->size(); ++i) out << (i ? ", " : "") << quotedText((*list)[i]);
      out << ")";
      return out.str();
    }
    default:
      return "<other value>";
  }
}

// Every key of a property-list file of the world, sorted; archived lists decoded.
void printPropertyList(const std::filesystem::path& file, const std::string& what, std::ostream& out) {
  // A FIFO or a folder in the file's place is refused, never waited on.
  const auto read = posix::readRegularFile(file.string(), hostplist::kMaxPlistBytes);
  if (read.status == FileContents::Status::missing) return;
  if (read.status != FileContents::Status::read) throw std::runtime_error(what + " cannot be read: " + read.error);
  const std::string& bytes = read.bytes;
  if (bytes.empty()) return;
  std::string refusal;
  auto parsed = hostplist::parsePlist(bytes.data(), bytes.size(), &refusal);
  plist_t root = parsed.get();
  if (!root || plist_get_node_type(root) != PLIST_DICT)
    throw std::runtime_error(what + " cannot be read" + (refusal.empty() ? "" : ": " + refusal));
  std::vector<std::pair<std::string, std::string>> lines;
  HostListArchiver archiver;
  plist_dict_iter it = nullptr;
  plist_dict_new_iter(root, &it);
  for (;;) {
    char* key = nullptr;
    plist_t value = nullptr;
    plist_dict_next_item(root, it, &key, &value);
    if (!value) break;
    lines.emplace_back(key ? key : "", describe(value, archiver));
    free(key);
  }
  free(it);
  std::sort(lines.begin(), lines.end());
  for (const auto& [k, v] : lines) out << k << " = " << v << "\n";
}

}  // namespace

int runInstallApp(const Invocation& inv, const AppToInstall& app, std::ostream& out) {
  AppSpec wanted;
  wanted.name = app.name;
  if (wanted.name.empty() || wanted.name.find('/') != std::string::npos) throw UsageError("bad application name");
  if (app.identifier) wanted.identifier = *app.identifier;
  if (app.folder) wanted.folder = *app.folder;
  if (app.schemes) wanted.urlSchemes = text::split(*app.schemes, ",");
  if (app.extensions) wanted.documentExtensions = text::split(*app.extensions, ",");
  if (app.executable) wanted.executable = *app.executable;
  wanted.binaryInfoPlist = app.binaryInfoPlist;
  World world(inv.root);
  auto bundle = installApplication(world, wanted);
  out << world.platformPath(bundle) << "\n";
  return 0;
}

int runDefaults(const Invocation& inv, const std::optional<std::string>& given, std::ostream& out) {
  const std::string domain = given.value_or(std::string(domains::standard));
  printPropertyList(World(inv.root).preferencesFile(domain), "preferences of " + domain, out);
  return 0;
}

int runUpdater(const Invocation& inv, std::ostream& out) {
  printPropertyList(World(inv.root).updaterFile(), "the updater's settings", out);
  return 0;
}

int runDefaultBrowserAnswer(const Invocation& inv, const std::string& answer) {
  if (answer != "accept" && answer != "decline") throw UsageError("default-browser-answer needs accept or decline");
  HostSystem system(inv.root);
  system.launchServices.setBrowserChangesAccepted(answer == "accept");
  return 0;
}

int runRules(const Invocation& inv, std::ostream& out) {
  HostSystem system(inv.root);
  const RuleProfiles profiles(system.settings);
  // The profile kept beside a rule, as the router reads it.
  auto inProfile = [&](const std::string& rule, const std::string& browser) {
    const auto profile = profiles.profileFor(rule, browser);
    return profile ? " (profile " + *profile + ")" : std::string();
  };
  out << "Domain rules:\n";
  for (const auto& r : system.rules.domainRules())
    out << "  " << r.domain << " -> " << r.browser << inProfile(RuleProfiles::domainRule(r.domain), r.browser) << "\n";
  out << "Per-application rules:\n";
  for (const auto& r : system.rules.appRules())
    out << "  " << r.application << " -> " << r.browser << inProfile(RuleProfiles::appRule(r.application), r.browser)
        << "\n";
  auto priority = system.settings.getString(keys::rulePriority);
  out << "Priority: " << (priority == "1" ? "per-application rules first" : "domain rules first") << "\n";
  out << "Modifier keys:\n";
  for (auto key : {keys::shiftRule, keys::controlRule, keys::optionRule, keys::commandRule}) {
    auto target = system.settings.getString(key);
    if (!target) continue;
    const bool back = system.settings.getBool(std::string(key) + std::string(keys::backgroundSuffix)).value_or(false);
    out << "  " << key << " -> " << *target << (back ? " (background)" : "")
        << inProfile(RuleProfiles::modifierRule(key), text::replaceAll(*target, ".app", "")) << "\n";
  }
  auto onion = system.settings.getString(keys::onionRule);
  out << "Onion: " << (onion ? *onion + inProfile(std::string(RuleProfiles::onionRule), *onion) : "none") << "\n";
  return 0;
}

int runDate(const Invocation& inv, const std::optional<std::string>& given, bool now, std::ostream& out) {
  if (given && now) throw UsageError("date takes one date (YYYY-MM-DD) or --now");
  std::optional<CalendarDate> date;
  if (given) {
    date = HostCalendar::parseDate(*given);
    if (!date) throw UsageError("not a date: \"" + *given + "\" (YYYY-MM-DD)");
  }
  World world(inv.root);
  if (now) HostCalendar::unfixDate(world);
  if (date && !HostCalendar::fixDate(world, *date)) throw std::runtime_error("cannot write the world's date");
  const CalendarDate today = HostCalendar(world).today();
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", today.year, today.month, today.day);
  out << text << (HostCalendar::fixedDate(world) ? "" : " (the host's clock)") << "\n";
  return 0;
}

}  // namespace routelle::driver
