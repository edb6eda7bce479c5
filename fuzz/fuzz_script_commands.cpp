// Browser and target names from script commands: every command class runs with
// fuzzed direct and named arguments against a temporary world. Each command
// answers, or sets a script error and then answers 0 having changed nothing;
// and the program itself never becomes a rule's, the default's, a modifier's
// or the onion rule's target.
#include <stdlib.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "HostSystem.h"
#include "ScratchRoot.h"
#include "platform/host/AppInstaller.h"
#include "scripting/ScriptCommands.h"
#include "settings/Keys.h"

namespace fs = std::filesystem;
using namespace routelle;

namespace {

// Names worth reaching quickly: the program under its names, a renamed copy of
// it, browsers, an added browser, the pseudo-browsers and modifier names.
constexpr const char* kNames[] = {"Routelle",
                                  "routelle.APP",
                                  "/Applications/Routelle.app",
                                  "Loop",
                                  "loop.app",
                                  "/Users/ann/Applications/Loop.app/",
                                  "Firefox",
                                  "safari",
                                  "Orion.app",
                                  "orion",
                                  "Mail",
                                  "Show Browsers List",
                                  "Use the opened browser",
                                  "shift",
                                  "CTRL",
                                  "example.com",
                                  "HTTPS://Example.COM/x",
                                  "per app",
                                  "Open in background",
                                  "Use Routelle for mailto: links"};

struct Harness {
  Harness() : system(root.path) {
    struct App {
      const char* name;
      const char* identifier;
      const char* folder;
    };
    for (const App& app :
         {App{"Safari", "com.apple.Safari", "/Applications"}, App{"Firefox", "org.mozilla.firefox", "/Applications"},
          App{"Mail", "com.apple.mail", "/Applications"}, App{"Orion", "com.kagi.kagimacOS", "/Applications"},
          App{"Routelle", "com.kestrova.Routelle", "/Applications"},
          App{"Loop", "COM.KESTROVA.routelle", "/Users/ann/Applications"}}) {
      AppSpec wanted;
      wanted.name = app.name;
      wanted.identifier = app.identifier;
      wanted.folder = app.folder;
      installApplication(system.world, wanted);
    }
  }

  // Every input starts from the same settings: an added list another tool
  // wrote, naming an added browser and the program itself.
  void reset() {
    std::error_code ec;
    fs::remove(preferences(), ec);
    system.settings.setList(keys::addedBrowsers, {"", "com.kagi.kagimacOS", "com.kestrova.routelle"});
  }

  fs::path preferences() const { return system.world.preferencesFile(domains::standard); }

  std::string preferencesBytes() const {
    std::ifstream in(preferences(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  bool targetsTheProgram() {
    auto& registry = system.registry;
    auto named = [&](std::string_view key) {
      const auto value = system.settings.getString(key);
      return value && registry.isProgramItself(*value);
    };
    if (named(keys::defaultChoice) || named(keys::onionRule)) return true;
    for (auto key : {keys::shiftRule, keys::controlRule, keys::optionRule, keys::commandRule})
      if (named(key)) return true;
    for (const auto& rule : system.rules.domainRules())
      if (registry.isProgramItself(rule.browser)) return true;
    for (const auto& rule : system.rules.appRules())
      if (registry.isProgramItself(rule.browser)) return true;
    return false;
  }

  fuzzing::ScratchRoot root{"scripts"};
  HostSystem system;
};

// Reads one field up to the separator; a leading byte below the table's size
// stands for that name, and the rest of the field is appended to it.
std::string field(std::string_view& in) {
  const std::size_t end = in.find('\x1f');
  std::string_view raw = in.substr(0, end);
  in.remove_prefix(end == std::string_view::npos ? in.size() : end + 1);
  if (!raw.empty() && static_cast<unsigned char>(raw[0]) < std::size(kNames))
    return kNames[static_cast<unsigned char>(raw[0])] + std::string(raw.substr(1));
  return std::string(raw);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Harness h;
  h.reset();
  std::string_view in(reinterpret_cast<const char*>(data), size);
  const auto& classes = scriptCommandClassNames();

  // Up to four commands: a class byte, a byte saying which arguments come and
  // of which kind, then the direct, "FilePath" and "BrowserName" texts.
  for (int step = 0; step < 4 && in.size() >= 2; ++step) {
    const std::string_view className = classes[static_cast<unsigned char>(in[0]) % classes.size()];
    const auto shape = static_cast<unsigned char>(in[1]);
    in.remove_prefix(2);
    auto command = makeScriptCommand(className, h.system.scripting);
    if (!command) std::abort();
    const char* argumentKeys[] = {"", "FilePath", "BrowserName"};
    for (int k = 0; k < 3; ++k) {
      std::string text = field(in);
      if (!(shape & (1u << k))) continue;
      if (shape & (8u << k))
        command->evaluatedArguments[argumentKeys[k]] = !text.empty() && text[0] == 't';
      else
        command->evaluatedArguments[argumentKeys[k]] = std::move(text);
    }

    const std::string before = h.preferencesBytes();
    const ScriptResult result = command->performDefaultImplementation();
    if (const int* number = std::get_if<int>(&result); number && *number != 0) std::abort();
    if (const auto& error = command->scriptErrorString()) {
      // A script error answers 0 and leaves the settings as they were.
      if (error->empty() || result != ScriptResult(0) || h.preferencesBytes() != before) std::abort();
    }
    if (h.targetsTheProgram()) std::abort();
  }
  return 0;
}
