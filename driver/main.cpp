// The host driver: runs the program's core against a stand-in macOS world.
#include <CLI/CLI.hpp>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <map>
#include <set>
#include <span>
#include <stdexcept>
#include <string_view>

#include "Driver.h"
#include "HeapReuse.h"
#include "Help.h"
#include "routelle/Version.h"
#include "scripting/ScriptCommands.h"
#include "scripting/ScriptDefinition.h"

using namespace routelle;
using namespace routelle::driver;

namespace {

std::filesystem::path defaultRoot() {
  if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data)
    return std::filesystem::path(data) / "routelle" / "world";
  const char* home = std::getenv("HOME");
  return std::filesystem::path(home && *home ? home : ".") / ".local" / "share" / "routelle" / "world";
}

const std::string kWorldSetUp = "World set-up";
const std::string kEvents = "Events (each starts the program)";
const std::string kInspection = "Inspection";

// The verbs, their options and what each runs once the command line is read.
class CommandLine {
 public:
  // Defining every verb with its options costs more than some verbs take to run:
  // only the verb named is defined when that reads the words given as all of
  // them would (see plainVerb); help and anything unusual get every verb.
  CommandLine(int argc, char** argv) : app_(help::kAbout, "routelle") {
    auto formatter = std::make_shared<CLI::Formatter>();
    formatter->label("Usage", "usage");
    formatter->label("SUBCOMMAND", "VERB");
    formatter->column_width(32);
    app_.formatter(formatter);
    app_.footer(help::footer);
    app_.add_option("--root", inv_.root, "The world's directory")->type_name("DIR");
    app_.add_flag("--trace", inv_.trace, "Print the program's diagnostic lines too");
    app_.set_version_flag("--version", "routelle " + std::string(kVersion), "Print the version and exit");
    app_.require_subcommand(0, 1);
    app_.fallthrough(false);
    inv_.root = defaultRoot();
    if (const VerbDefinition* named = plainVerb(argc, argv)) {
      (this->*named->define)();
      return;
    }
    for (const auto& definition : verbs()) (this->*definition.define)();
  }

  int run(int argc, char** argv) {
    try {
      app_.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
      return app_.exit(e, std::cout, std::cerr);
    } catch (const CLI::CallForVersion& e) {
      return app_.exit(e, std::cout, std::cerr);
    } catch (const CLI::ExtrasError& e) {
      if (app_.get_subcommands().empty() && !app_.remaining().empty())
        throw UsageError("unknown verb \"" + app_.remaining().front() + "\" (see routelle --help)");
      throw UsageError(e.what());
    } catch (const CLI::ParseError& e) {
      const auto parsed = app_.get_subcommands();
      throw UsageError((parsed.empty() ? "" : parsed.front()->get_name() + ": ") + e.what());
    }
    const auto parsed = app_.get_subcommands();
    if (parsed.empty()) {
      std::cerr << app_.help();
      return 64;
    }
    return actions_.at(parsed.front()->get_name())();
  }

 private:
  struct VerbDefinition {
    std::string_view name;
    void (CommandLine::*define)();
  };

  // Every verb in the order the help lists them.
  static std::span<const VerbDefinition> verbs() {
    static constexpr VerbDefinition kVerbs[] = {
        {"install-app", &CommandLine::defineInstallApp},
        {"default-browser-answer", &CommandLine::defineDefaultBrowserAnswer},
        {"tabs", &CommandLine::defineTabs},
        {"date", &CommandLine::defineDate},
        {"script", &CommandLine::defineScript},
        {"open", &CommandLine::defineOpen},
        {"file", &CommandLine::defineFile},
        {"service", &CommandLine::defineService},
        {"shortcut", &CommandLine::defineShortcut},
        {"click", &CommandLine::defineClick},
        {"run", &CommandLine::defineRun},
        {"share", &CommandLine::defineShare},
        {"menu", &CommandLine::defineMenu},
        {"defaults", &CommandLine::defineDefaults},
        {"updater", &CommandLine::defineUpdater},
        {"rules", &CommandLine::defineRules},
        {"profiles", &CommandLine::defineProfiles},
        {"explain", &CommandLine::defineExplain},
        {"help", &CommandLine::defineHelp},
    };
    return kVerbs;
  }

  static const VerbDefinition* verbNamed(std::string_view word) {
    for (const auto& definition : verbs())
      if (definition.name == word) return &definition;
    return nullptr;
  }

  // The verb named when defining it alone reads the words exactly as defining
  // every verb would: only the command line's own options before it (no value
  // of --root that could be taken for something else), and no verb's name after
  // it, which the parser would weigh as a second verb. Help lists every verb.
  static const VerbDefinition* plainVerb(int argc, char** argv) {
    int at = 1;
    while (at < argc) {
      const std::string_view word = argv[at];
      if (word == "--trace" || word.starts_with("--root="))
        ++at;
      else if (word == "--root" && at + 1 < argc && argv[at + 1][0] != '-' && !verbNamed(argv[at + 1]))
        at += 2;
      else
        break;
    }
    if (at == argc) return nullptr;
    const VerbDefinition* named = verbNamed(argv[at]);
    if (!named || named->name == "help") return nullptr;
    for (int later = at + 1; later < argc; ++later)
      if (verbNamed(argv[later])) return nullptr;
    return named;
  }

  CLI::App* verb(const std::string& name, const std::string& group, const std::string& summary,
                 std::function<int()> action, const char* details = nullptr) {
    auto* sub = app_.add_subcommand(name, summary);
    sub->group(group);
    if (details) sub->footer(details);
    actions_[name] = std::move(action);
    return sub;
  }

  void defineInstallApp() {
    auto* install = verb(
        "install-app", kWorldSetUp, "Place an application bundle in the world",
        [this] { return runInstallApp(inv_, appToInstall_, std::cout); }, help::kInstallApp);
    install->add_option("NAME", appToInstall_.name, "The application's name (NAME.app)")->required();
    install->add_option("--id", appToInstall_.identifier, "Its bundle identifier")->type_name("BUNDLE-ID");
    install->add_option("--folder", appToInstall_.folder, "Where it goes (default /Applications)")->type_name("DIR");
    install->add_option("--schemes", appToInstall_.schemes, "URL schemes it declares")->type_name("S1,S2");
    install->add_option("--extensions", appToInstall_.extensions, "Document extensions it declares")
        ->type_name("E1,E2");
    install->add_option("--executable", appToInstall_.executable, "Its executable's name")->type_name("NAME");
    install->add_flag("--binary", appToInstall_.binaryInfoPlist, "Write its Info.plist in binary form");
  }

  void defineDefaultBrowserAnswer() {
    auto* answer = verb("default-browser-answer", kWorldSetUp,
                        "How the user answers when asked whether the program may become the default web browser",
                        [this] { return runDefaultBrowserAnswer(inv_, browserAnswer_); });
    answer->add_option("ANSWER", browserAnswer_, "accept (until told otherwise) or decline")
        ->required()
        ->check(CLI::IsMember({"accept", "decline"}));
  }

  void defineTabs() {
    auto* tabs = verb(
        "tabs", kWorldSetUp, "Set or print the tabs of a browser's window 1",
        [this] {
          setOrPrintTabs(World(inv_.root), tabs_, std::cout);
          return 0;
        },
        help::kTabs);
    addTabsArguments(*tabs, tabs_);
  }

  void defineDate() {
    auto* date = verb(
        "date", kWorldSetUp, "Fix the world's date, or go back to the host's",
        [this] { return runDate(inv_, date_, dateNow_, std::cout); }, help::kDate);
    auto* fixed = date->add_option("YYYY-MM-DD", date_, "Today's date in the world");
    date->add_flag("--now", dateNow_, "Go back to the host's local date")->excludes(fixed);
  }

  void defineScript() {
    auto* script = verb(
        "script", kEvents, "Run one script command",
        [this] {
          scriptCall_.unexpected = scriptApp_->remaining();
          return runScript(inv_, scriptCall_, std::cout, std::cerr);
        },
        help::kScript);
    scriptApp_ = script;
    script->add_option("COMMAND", scriptCall_.className, "The command's class name")->required();
    script->add_option("DIRECT", scriptCall_.direct, "The direct parameter");
    std::set<std::string> keys;
    for (auto name : scriptCommandClassNames())
      for (auto key : scriptParameterKeys(name))
        if (!key.empty()) keys.emplace(key);
    for (const auto& key : keys)
      script->add_option_function<std::string>(
          "--" + key, [this, key](const std::string& value) { scriptCall_.named.emplace_back(key, value); },
          "A named parameter");
    // Left for runScript, which names the parameters the command takes.
    script->allow_extras();
  }

  void defineOpen() { event("open", "A get-URL event, as when a link is clicked anywhere", {"URL", "The link"}); }
  void defineFile() {
    event("file", "A document opened with the program", {"PATH", "The document's path in the world"});
  }
  void defineService() { event("service", "The Services entry with a text on the pasteboard", {"TEXT", "The text"}); }
  void defineShortcut() { event("shortcut", "The global new-window shortcut (Control-Option-Command-N)", {"", ""}); }

  void event(const std::string& name, const std::string& summary, const EventArguments& arguments) {
    auto* sub = verb(name, kEvents, summary,
                     [this, name] { return runEvent(inv_, makeEvent(name, events_[name]), std::cout); });
    addEventOptions(*sub, events_[name], arguments);
  }

  void defineClick() {
    auto* click = verb(
        "click", kEvents, "Choose an entry of the status menu",
        [this] { return runClick(inv_, makeEvent("click", events_["click"]), std::cout); }, help::kClick);
    addEventOptions(*click, events_["click"], {"\"TITLE > TITLE > ...\"", "The entry's path of titles"});
  }

  void defineRun() {
    auto* run = verb(
        "run", kEvents, "Several events in one run of the program, one per line of FILE",
        [this] { return runScriptFile(inv_, eventFile_, std::cout); }, help::kRun);
    run->add_option("FILE", eventFile_, "The events (- for standard input)")->required();
  }

  void defineShare() {
    auto* share = verb(
        "share", kEvents, "Run the Share extension once", [this] { return runShare(inv_, share_, std::cout); },
        help::kShare);
    auto attach = [this](bool isURL) {
      return [this, isURL](const std::string& value) { share_.attachments.push_back({isURL, value}); };
    };
    share->add_option_function<std::string>("--url", attach(true), "A URL attachment")
        ->type_name("URL")
        ->trigger_on_parse();
    share->add_option_function<std::string>("--text", attach(false), "A text attachment")
        ->type_name("TEXT")
        ->trigger_on_parse();
    share->add_flag("--no-items", share_.noItems, "Share no item at all");
    share->add_flag("--cancel", share_.cancel, "Press the sheet's Cancel button before anything loads");
  }

  void defineMenu() {
    auto* menu = verb(
        "menu", kInspection, "Print the status menu", [this] { return runMenu(inv_, menuPath_, std::cout); },
        help::kMenu);
    menu->add_option("\"TITLE > TITLE > ...\"", menuPath_, "Only this entry and its submenu");
  }

  void defineDefaults() {
    auto* defaults = verb(
        "defaults", kInspection, "Print a preferences domain", [this] { return runDefaults(inv_, domain_, std::cout); },
        help::kDefaults);
    defaults->add_option("DOMAIN", domain_, "The domain (default com.kestrova.Routelle)");
  }

  void defineUpdater() {
    verb("updater", kInspection, "Print the updater's stored settings (feed, check interval, automatic checks)",
         [this] { return runUpdater(inv_, std::cout); });
  }

  void defineRules() {
    verb(
        "rules", kInspection, "Print the stored rules", [this] { return runRules(inv_, std::cout); }, help::kRules);
  }

  void defineProfiles() {
    auto* profiles = verb(
        "profiles", kInspection, "Print a browser's profiles as the program finds them (or lay them out first)",
        [this] { return runProfiles(inv_, profiles_, std::cout); }, help::kProfiles);
    profiles->add_option("BROWSER", profiles_.browser, "The browser's name")->required();
    profiles->add_option("DIRECTORY=NAME", profiles_.layOut, "Profiles to lay out in the browser's own file");
  }

  void defineExplain() {
    auto* explain = verb(
        "explain", kInspection, "Print which browser a link would open in and why, opening nothing",
        [this] { return runExplain(inv_, explain_, std::cout); }, help::kExplain);
    explain->add_option("URL", explain_.url, "The link")->required();
    explain->add_option("--from", explain_.from, "The application the link comes from (the one active before)")
        ->type_name("APP");
    explain->add_option("--modifiers", explain_.modifiers, "Keys held: shift,control,option,command,capslock,function")
        ->type_name("KEYS");
    explain->add_option("--running", explain_.running, "Running applications by name, in the workspace's order")
        ->type_name("LIST");
    explain->add_flag("--json", explain_.json, "Print one JSON object (its keys are listed below)");
  }

  void defineHelp() {
    verb("help", "", "This text", [this] {
      std::cout << app_.help();
      return 0;
    });
  }

  CLI::App app_;
  Invocation inv_;
  std::map<std::string, std::function<int()>> actions_;
  AppToInstall appToInstall_;
  ProfilesRequest profiles_;
  std::string browserAnswer_;
  TabsRequest tabs_;
  std::optional<std::string> date_;
  bool dateNow_ = false;
  ScriptCall scriptCall_;
  CLI::App* scriptApp_ = nullptr;
  std::map<std::string, EventWords> events_;
  std::string eventFile_;
  ShareRequest share_;
  std::optional<std::string> domain_;
  ExplainRequest explain_;
  std::optional<std::string> menuPath_;
};

}  // namespace

int main(int argc, char** argv) {
  keepLargeBlocksInTheHeap();
  try {
    CommandLine commandLine(argc, argv);
    return commandLine.run(argc, argv);
  } catch (const UsageError& e) {
    std::cerr << "routelle: " << e.what() << "\n";
    return 64;
  } catch (const std::exception& e) {
    std::cerr << "routelle: " << e.what() << "\n";
    return 70;
  }
}
