#pragma once
#include <filesystem>
#include <iosfwd>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "EventOptions.h"
#include "platform/host/World.h"

namespace CLI {
class App;
}

namespace routelle::driver {

// What every verb is given: the world and whether the program's trace is printed.
struct Invocation {
  std::filesystem::path root;
  bool trace = false;
};

class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Verbs that start the program and deliver one event to it (or, for "run", a file of them).
int runEvent(const Invocation& inv, const Event& event, std::ostream& out);
int runClick(const Invocation& inv, const Event& event, std::ostream& out);
// The whole status menu, or only the entry the path names, with its submenu.
int runMenu(const Invocation& inv, const std::optional<std::string>& path, std::ostream& out);
int runScriptFile(const Invocation& inv, const std::string& file, std::ostream& out);

// "script COMMAND [DIRECT] [--NAME VALUE]...": named parameters by their key.
struct ScriptCall {
  std::string className;
  std::optional<std::string> direct;
  std::vector<std::pair<std::string, std::string>> named;
  std::vector<std::string> unexpected;  // words the command line did not place
};
int runScript(const Invocation& inv, const ScriptCall& call, std::ostream& out, std::ostream& err);

struct AppToInstall {
  std::string name;
  std::optional<std::string> identifier;
  std::optional<std::string> folder;
  std::optional<std::string> schemes;
  std::optional<std::string> extensions;
  std::optional<std::string> executable;
  bool binaryInfoPlist = false;
};
int runInstallApp(const Invocation& inv, const AppToInstall& app, std::ostream& out);

int runDefaults(const Invocation& inv, const std::optional<std::string>& domain, std::ostream& out);
int runUpdater(const Invocation& inv, std::ostream& out);
int runDefaultBrowserAnswer(const Invocation& inv, const std::string& answer);
int runRules(const Invocation& inv, std::ostream& out);

// "profiles BROWSER [DIRECTORY=NAME]...": the browser's profile list laid out, then printed.
struct ProfilesRequest {
  std::string browser;
  std::vector<std::string> layOut;
};
int runProfiles(const Invocation& inv, const ProfilesRequest& request, std::ostream& out);
int runDate(const Invocation& inv, const std::optional<std::string>& date, bool now, std::ostream& out);

// "explain URL [--from APP] [--modifiers KEYS] [--running LIST] [--json]".
struct ExplainRequest {
  std::string url;
  std::optional<std::string> from;
  std::optional<std::string> modifiers;
  std::optional<std::string> running;
  bool json = false;
};
int runExplain(const Invocation& inv, const ExplainRequest& request, std::ostream& out);

struct ShareRequest {
  struct Attachment {
    bool isURL = false;
    std::string text;
  };
  std::vector<Attachment> attachments;  // in the order given
  bool noItems = false;
  bool cancel = false;
};
int runShare(const Invocation& inv, const ShareRequest& request, std::ostream& out);

// "tabs BROWSER [URL...] [--active N]": window 1's tabs, set or printed.
struct TabsRequest {
  std::string browser;
  std::vector<std::string> tabs;
  std::optional<std::string> active;
};
void setOrPrintTabs(const World& world, const TabsRequest& request, std::ostream& out);
// Its arguments and options, for the verb and for the line of "run".
void addTabsArguments(CLI::App& app, TabsRequest& request);
TabsRequest parseTabsLine(const std::vector<std::string>& words);

}  // namespace routelle::driver
