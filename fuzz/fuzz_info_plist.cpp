// Feeds arbitrary bytes to the two parsers that see outside input: bundle
// Info.plist files (XML or binary) and typed domain texts.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/host/BundleInfo.h"
#include "platform/host/HostUrlParser.h"
#include "settings/RuleStore.h"

namespace {

using namespace routelle;

// normaliseDomain reaches neither settings nor workspace; these only let a
// RuleStore be built without touching the disk.
struct NoDefaults final : Defaults {
  std::optional<DefaultsValue> object(std::string_view) override { return std::nullopt; }
  void set(std::string_view, const DefaultsValue&) override {}
  void remove(std::string_view) override {}
  bool synchronize() override { return true; }
  std::uint64_t changeCount() override { return 0; }
};
struct NoArchiver final : ListArchiver {
  Bytes archive(const std::vector<std::string>&) const override { return {}; }
  std::optional<std::vector<std::string>> unarchive(std::span<const std::uint8_t>) const override {
    return std::nullopt;
  }
};
struct NoWorkspace final : Workspace {
  std::optional<std::string> pathForBundleIdentifier(const std::string&) override { return std::nullopt; }
  std::optional<std::string> fullPathForApplication(const std::string&) override { return std::nullopt; }
  std::optional<std::string> bundleIdentifier(const std::string&) override { return std::nullopt; }
  std::vector<RunningApplication> runningApplications() override { return {}; }
  std::optional<RunningApplication> frontmostApplication() override { return std::nullopt; }
  bool openURL(const std::string&) override { return false; }
  bool fileExists(const std::string&) override { return false; }
  bool activateIgnoringOtherApps(const RunningApplication&) override { return false; }
};

}  // namespace

// Outside the anonymous namespace so that the reads cannot be optimised away.
volatile unsigned fuzzSink;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static NoDefaults defaults;
  static NoArchiver archiver;
  static NoWorkspace workspace;
  static HostUrlParser urls;
  static SettingsStore settings(defaults, nullptr, nullptr, archiver);
  static BrowserRegistry registry(settings, workspace);
  static RuleStore rules(settings, registry, urls);

  if (auto info = parseBundleInfo(Bytes(data, data + size))) {
    // Reading every byte handed back lets ASan check the copies.
    unsigned sum = 0;
    auto touch = [&](const std::string& s) {
      for (char c : s) sum += static_cast<unsigned char>(c);
    };
    touch(info->identifier);
    touch(info->executable);
    touch(info->version);
    for (const auto& s : info->urlSchemes) touch(s);
    for (const auto& s : info->documentExtensions) touch(s);
    fuzzSink = sum;
  }

  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (auto host = rules.normaliseDomain(text)) {
    // A host is never empty, always has a dot and never holds a blank.
    if (host->empty() || host->find('.') == std::string::npos || host->find(' ') != std::string::npos) __builtin_trap();
  }
  return 0;
}
