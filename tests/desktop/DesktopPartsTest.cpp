// The parts of the desktop program that translate between the core and the
// desktop's own formats: the open command's arguments, the installed entry's Exec
// line as GIO reads it back, and process chains from /proc.
#include <gio/gdesktopappinfo.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include "HandOff.h"
#include "Install.h"
#include "platform/linux/DesktopEntries.h"
#include "platform/linux/OpenCommand.h"
#include "platform/linux/ProcessTree.h"
#include "platform/linux/ShownNames.h"

namespace routelle::linux_desktop {
namespace {

using ::testing::ElementsAre;

TEST(OpenCommandTest, ReadsTheArgumentsTheLauncherGives) {
  struct Case {
    std::vector<std::string> args;
    bool valid;
    std::optional<std::string> application, identifier;
    bool background;
    std::vector<std::string> items;
    std::vector<std::string> arguments = {};
  };
  const std::vector<Case> cases{
      {{"-g", "-a", "/Applications/fakefox.app", "https://a.example/"},
       true,
       "/Applications/fakefox.app",
       std::nullopt,
       true,
       {"https://a.example/"}},
      {{"-a", "fakefox", "--", "-rf"}, true, "fakefox", std::nullopt, false, {"-rf"}},
      {{"-b", "com.kestrova.Routelle", "x"}, true, std::nullopt, "com.kestrova.Routelle", false, {"x"}},
      // A profile: everything after --args is the application's, options and link alike.
      {{"-n", "-g", "-a", "/Applications/google-chrome.app", "--args", "--profile-directory=Profile 1", "-g",
        "https://a.example/"},
       true,
       "/Applications/google-chrome.app",
       std::nullopt,
       true,
       {},
       {"--profile-directory=Profile 1", "-g", "https://a.example/"}},
      {{"-a"}, false, {}, {}, false, {}},
      {{"-x", "y"}, false, {}, {}, false, {}},
  };
  for (const auto& c : cases) {
    const auto request = parseOpenArguments(c.args);
    ASSERT_EQ(request.has_value(), c.valid) << c.args.front();
    if (!request) continue;
    EXPECT_EQ(request->application, c.application);
    EXPECT_EQ(request->identifier, c.identifier);
    EXPECT_EQ(request->background, c.background);
    EXPECT_EQ(request->items, c.items);
    EXPECT_EQ(request->arguments, c.arguments);
  }
}

// An entry started with a profile: the arguments go where the entry takes its
// links, each its own word, whatever the Exec line looks like.
TEST(OpenCommandTest, ExecLineTakesTheArgumentsWhereItTakesLinks) {
  const std::vector<std::string> args{"--profile-directory=Profile 1", "https://a.example/?q=1&r=%41"};
  const EntryFields fields{"chrome-icon", "Google Chrome", "/usr/share/applications/google-chrome.desktop"};
  using Words = std::vector<std::string>;
  const struct {
    const char* what;
    Words exec;
    Words expected;
  } cases[] = {
      {"one link", {"/usr/bin/google-chrome-stable", "%U"}, {"/usr/bin/google-chrome-stable", args[0], args[1]}},
      {"an option after the code", {"chromium", "%u", "--incognito"}, {"chromium", args[0], args[1], "--incognito"}},
      {"no field code", {"browser"}, {"browser", args[0], args[1]}},
      {"two codes: the first one takes them", {"b", "%F", "%U"}, {"b", args[0], args[1]}},
      {"icon, name, file and a percent sign",
       {"b", "%i", "%c", "%k", "100%%", "%d", "%U"},
       {"b", "--icon", "chrome-icon", "Google Chrome", fields.file, "100%", args[0], args[1]}},
      {"a Flatpak forwarding section",
       {"/usr/bin/flatpak", "run", "--file-forwarding", "com.google.Chrome", "@@u", "%U", "@@"},
       {"/usr/bin/flatpak", "run", "--file-forwarding", "com.google.Chrome", args[0], args[1], "@@u", "@@"}},
      {"a Flatpak section of files",
       {"flatpak", "run", "org.chromium.Chromium", "@@", "%F", "@@", "--x"},
       {"flatpak", "run", "org.chromium.Chromium", args[0], args[1], "@@", "@@", "--x"}},
  };
  for (const auto& c : cases) EXPECT_EQ(expandExec(c.exec, args, fields), c.expected) << c.what;
  EXPECT_EQ(expandExec({"b", "%i", "%U"}, args, {}), (Words{"b", args[0], args[1]})) << "no icon";
}

// Links started without GIO: "%u" is a program per link, "%U" one for them all,
// and what GIO would give as files is left to it.
TEST(OpenCommandTest, LinkCommandLinesStartAsGioWould) {
  using Lines = std::vector<std::vector<std::string>>;
  const std::vector<std::string> two{"https://a.example/", "https://b.example/"};
  const struct {
    const char* what;
    std::vector<std::string> exec;
    std::vector<std::string> links;
    std::optional<Lines> expected;
  } cases[] = {
      {"%u: one each", {"ff", "%u"}, two, Lines{{"ff", two[0]}, {"ff", two[1]}}},
      {"%U: all at once", {"ch", "%U", "--x"}, two, Lines{{"ch", two[0], two[1], "--x"}}},
      {"%u then %U: the first decides", {"b", "%u", "%U"}, two, Lines{{"b", two[0]}, {"b", two[1]}}},
      {"one link", {"ff", "%u"}, {two[0]}, Lines{{"ff", two[0]}}},
      {"no link", {"ff", "%u"}, {}, Lines{{"ff"}}},
      {"files are GIO's", {"viewer", "%f"}, two, std::nullopt},
      {"a file code after the link code", {"b", "%U", "%F"}, two, std::nullopt},
      {"links without a code are GIO's", {"b"}, two, std::nullopt},
      {"nothing to pass, no code", {"b", "--new"}, {}, Lines{{"b", "--new"}}},
  };
  for (const auto& c : cases) EXPECT_EQ(linkCommandLines(c.exec, c.links, {}), c.expected) << c.what;
}

// Menus show an application's entry name where the title names it by id, and
// leave every other title alone.
TEST(ShownNamesTest, TheIdIsReplacedOnlyWhereItNamesTheApplication) {
  const struct {
    const char* title;
    const char* shown;
  } cases[] = {
      {"firefox-esr", "Firefox ESR"},
      {"✓firefox-esr", "✓Firefox ESR"},
      {"   firefox-esr", "   Firefox ESR"},
      {"firefox-esr — Work", "Firefox ESR — Work"},
      {"firefox-esr-nightly", "firefox-esr-nightly"},
      {"firefox-esr.example.org", "firefox-esr.example.org"},
      {"Open firefox-esr", "Open firefox-esr"},
      {"firefox", "firefox"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(titleWithName(c.title, "firefox-esr", "Firefox ESR"), c.shown) << c.title;
  EXPECT_EQ(titleWithName("firefox-esr", "firefox-esr", ""), "firefox-esr") << "an entry without a name";
  EXPECT_EQ(shownTitle("no-such-entry-here", ImageRef::iconOf("/nowhere/no-such-entry-here")), "no-such-entry-here");
  EXPECT_EQ(shownTitle("firefox-esr", ImageRef::bundle("firefox-esr")), "firefox-esr") << "not an application's icon";
}

TEST(ApplicationPathTest, NamesAnEntryByItsIdWhateverTheSpelling) {
  EXPECT_EQ(idOfApplicationPath("/Applications/firefox-esr.app"), "firefox-esr");
  EXPECT_EQ(idOfApplicationPath("/usr/share/applications/firefox-esr"), "firefox-esr");
  EXPECT_EQ(idOfApplicationPath("firefox-esr.desktop"), "firefox-esr");
  EXPECT_EQ(idOfApplicationPath("/opt/x/.app"), ".app");
  EXPECT_EQ(identifierOfEntry("routelle"), "com.kestrova.Routelle");
  EXPECT_EQ(entryOfIdentifier("COM.KESTROVA.ROUTELLE"), "routelle");
  EXPECT_EQ(entryOfIdentifier("fakefox"), "fakefox");
}

// The Exec line read back as GIO reads it (field codes expanded, "%%" is one "%",
// then split as a shell would) gives the program's path, whatever it holds.
TEST(DesktopEntryTextTest, ExecLineGivesBackTheProgramPath) {
  for (const std::string path :
       {"/usr/bin/routelle-desktop", "/home/a b/bin/routelle-desktop", "/tmp/q\"uote$and`tick\\slash/routelle-desktop",
        "/tmp/100%/routelle-desktop", "/tmp/two\\\\slashes\\/routelle-desktop"}) {
    const std::string text = desktop::desktopEntryText(path);
    GKeyFile* file = g_key_file_new();
    ASSERT_TRUE(g_key_file_load_from_data(file, text.c_str(), text.size(), G_KEY_FILE_NONE, nullptr)) << text;
    gchar* exec = g_key_file_get_string(file, "Desktop Entry", "Exec", nullptr);
    ASSERT_NE(exec, nullptr);
    std::string expanded = exec;
    ASSERT_TRUE(expanded.ends_with(" %u")) << expanded;
    expanded.resize(expanded.size() - 3);
    for (std::size_t at = 0; (at = expanded.find("%%", at)) != std::string::npos; ++at) expanded.erase(at, 1);
    gint argc = 0;
    gchar** argv = nullptr;
    ASSERT_TRUE(g_shell_parse_argv(expanded.c_str(), &argc, &argv, nullptr)) << expanded;
    ASSERT_EQ(argc, 1) << expanded;
    EXPECT_EQ(std::string(argv[0]), path) << expanded;
    g_strfreev(argv);
    g_free(exec);
    g_key_file_unref(file);
  }
}

TEST(HandOffTest, MessagesReadBackWholeAndNothingElse) {
  using desktop::HandedLink;
  using desktop::MessageState;
  const std::string link = std::string("https://example.org/a b\n") + '\0' + "c";
  const std::string message = desktop::handOffMessage({link, 4242});
  HandedLink read;
  ASSERT_EQ(desktop::readHandOffMessage(message, read), MessageState::complete);
  EXPECT_EQ(read.link, link);
  EXPECT_EQ(read.requester, 4242);

  const std::vector<std::pair<std::string, MessageState>> cases{
      {"", MessageState::incomplete},
      {"12 5\nabc", MessageState::incomplete},
      {message.substr(0, message.size() - 1), MessageState::incomplete},
      {message + "x", MessageState::invalid},
      {"12 x\nabc", MessageState::invalid},
      {"12\nabc", MessageState::invalid},
      {"1 99999999999\n", MessageState::invalid},
      {"1 1048577\n", MessageState::invalid},
      {std::string(40, '1'), MessageState::invalid},
      {"0 0\n", MessageState::complete},
  };
  for (const auto& [bytes, state] : cases) EXPECT_EQ(desktop::readHandOffMessage(bytes, read), state) << bytes;
}

TEST(ProcessTreeTest, ReadsThisProcessAndItsParent) {
  const auto self = readProcess(getpid());
  ASSERT_TRUE(self);
  EXPECT_EQ(self->parent, getppid());
  EXPECT_FALSE(self->argv.empty());
  EXPECT_TRUE(runs(*self, self->executable));
  EXPECT_FALSE(runs(*self, ""));
  EXPECT_FALSE(readProcess(0));
  EXPECT_FALSE(readProcess(-1));
}

}  // namespace
}  // namespace routelle::linux_desktop
