#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "exchange/RuleFileName.h"
#include "exchange/RuleImporter.h"
#include "settings/Keys.h"
#include "support/TestApp.h"

namespace routelle {
namespace {

namespace fs = std::filesystem;
using Hosts = std::vector<std::string>;

class RuleExchangeTest : public test::AppTest {
 protected:
  void SetUp() override {
    installCommonApps();
    ASSERT_TRUE(app.system.rules.addDomainRule("kept.example", "Safari"));
    ASSERT_TRUE(app.system.rules.addAppRule("Mail", "Firefox"));
  }
  RuleExchange& exchange() { return app.delegate.exchange(); }
  // A file of the world at /Users/user/Downloads/NAME.
  std::string file(const std::string& name, const std::string& contents) {
    const fs::path host = app.system.world.hostPath("/Users/user/Downloads/" + name);
    fs::create_directories(host.parent_path());
    std::ofstream(host, std::ios::binary) << contents;
    return "/Users/user/Downloads/" + name;
  }
  Hosts storedHosts() {
    Hosts hosts;
    for (const auto& rule : app.system.rules.domainRules()) hosts.push_back(rule.domain + " " + rule.browser);
    return hosts;
  }
};

// Whatever the file holds, an import never loses a stored rule, never reads
// anything but the file, and stores what it accepted before the fault.
TEST_F(RuleExchangeTest, BadFilesLoseNoStoredRuleAndKeepWhatCameBeforeTheFault) {
  const std::string secret = file("secret.txt", "leaked.example");
  std::string laughs = "<!DOCTYPE lists [<!ENTITY l0 'ha.example'>";
  for (int i = 1; i < 12; ++i) {
    laughs += "<!ENTITY l" + std::to_string(i) + " '";
    for (int j = 0; j < 10; ++j) laughs += "&l" + std::to_string(i - 1) + ";";
    laughs += "'>";
  }
  laughs += "]><lists><domain site='&l11;' browser='Safari'/></lists>";
  std::string deep;
  for (int i = 0; i < 10000; ++i) deep += "<domain site='deep.example' browser='Firefox'>";
  const std::string large = file("large.xml", "<lists><domain site='large.example' browser='Safari'/>");
  fs::resize_file(app.system.world.hostPath(large), kRuleFileMaxBytes + 1);  // sparse: quick to make
  const std::string fifo = "/Users/user/Downloads/fifo.xml";
  ASSERT_EQ(mkfifo(app.system.world.hostPath(fifo).c_str(), 0600), 0);

  struct Case {
    std::string path;
    RuleFileEnd end;
    Hosts added;  // after the rules stored before
  };
  const Case cases[] = {
      {file("broken.xml", "<lists><domain site='a.example' browser='Safari'/>\n<domain site='b.example' browser="),
       RuleFileEnd::notWellFormed,
       {"a.example Safari"}},
      {file("utf8.xml",
            "<lists><domain site='ok.example' browser='Safari'/><domain site='\xE9t\xE9.fr' "
            "browser='Safari'/><domain site='after.example' browser='Safari'/></lists>"),
       RuleFileEnd::notWellFormed,
       {"ok.example Safari"}},
      {file("xxe.xml", "<!DOCTYPE lists [<!ENTITY x SYSTEM 'file://" + app.system.world.hostPath(secret).string() +
                           "'>]><lists><domain site='&x;' browser='Safari'/></lists>"),
       RuleFileEnd::unsupported,
       {}},
      {file("laughs.xml", laughs), RuleFileEnd::unsupported, {}},
      {file("deep.xml", deep), RuleFileEnd::tooDeep, {"deep.example Firefox"}},
      {large, RuleFileEnd::tooLarge, {}},
      {"/Users/user/Downloads", RuleFileEnd::unreadable, {}},
      {fifo, RuleFileEnd::unreadable, {}},
      {"/Users/user/Downloads/missing.xml", RuleFileEnd::unreadable, {}},
      {"/../../../etc/passwd", RuleFileEnd::unreadable, {}},
  };
  for (const Case& c : cases) {
    const Hosts before = storedHosts();
    const int scheduled = app.runLoop.scheduledCount();
    const std::size_t shownBefore = transcript().size();
    const ImportReport report = exchange().importRules(c.path);
    EXPECT_EQ(report.outcome.end, c.end) << c.path << ": " << report.outcome.message;
    // The user is told, with the cause.
    const std::vector<std::string> shown(transcript().begin() + static_cast<long>(shownBefore), transcript().end());
    ASSERT_GE(shown.size(), 2u) << c.path;
    EXPECT_EQ(shown[0], c.added.empty() ? "alert (warning): The rules could not be imported."
                                        : "alert (warning): Only part of the rules could be imported.");
    EXPECT_EQ(shown[1].rfind("  " + c.path + ": " + report.outcome.message, 0), 0u) << shown[1];
    Hosts expected = before;
    for (const auto& host : c.added) {
      std::erase(expected, host);
      expected.push_back(host);
    }
    EXPECT_EQ(storedHosts(), expected) << c.path;
    EXPECT_EQ(app.system.rules.appRules().size(), 1u) << c.path;
    // The menu is rebuilt only for a document read to its end.
    EXPECT_EQ(app.runLoop.scheduledCount(), scheduled) << c.path;
  }
  ASSERT_EQ(storedHosts().front(), "kept.example Safari");

  const int scheduled = app.runLoop.scheduledCount();
  const std::size_t shownBefore = transcript().size();
  EXPECT_EQ(exchange().importRules(file("good.xml", "<lists/>")).outcome.end, RuleFileEnd::complete);
  EXPECT_EQ(app.runLoop.scheduledCount(), scheduled + 1);
  EXPECT_EQ(transcript().size(), shownBefore);
}

// The accepted rules are all there when the file breaks off, in the file's
// order, and the import wrote each list once.
TEST_F(RuleExchangeTest, EveryRuleBeforeABreakIsStoredInOneWrite) {
  std::string document = "<lists>";
  for (int i = 0; i < 7; ++i) document += "<domain site='s" + std::to_string(i) + ".example' browser='Safari'/>";
  document +=
      "<app app='Notes' browser='Safari'/><app app='x/*/*/*/*/Mail' browser='Safari'/>"
      "<domain site='routelle.example' browser='Routelle'/><domain site='s0.example' browser='Safari'/><dom";
  const std::uint64_t changesBefore = app.system.standard.changeCount();
  const ImportReport report = RuleImporter(app.system.rules, app.system.registry).importDocument(document);
  EXPECT_EQ(app.system.standard.changeCount() - changesBefore, 2u);
  EXPECT_EQ(report.outcome.end, RuleFileEnd::notWellFormed);
  EXPECT_EQ(report.domainRules, 8u);
  EXPECT_EQ(report.appRules, 1u);
  // The program itself is no rule's browser, and a name holding the separator
  // would read back as another application's rule.
  EXPECT_EQ(report.skipped, 2u);
  Hosts expected{"kept.example Safari"};
  for (int i = 1; i < 7; ++i) expected.push_back("s" + std::to_string(i) + ".example Safari");
  expected.push_back("s0.example Safari");
  EXPECT_EQ(storedHosts(), expected);
}

// A backup larger than imports once allowed (8 MiB) comes back whole: long
// application names make it large with few rules, so that it stays quick.
TEST_F(RuleExchangeTest, ALargeExportImportsBackWhole) {
  std::vector<std::string> perApp{""};
  for (int i = 0; i < 2200; ++i)
    perApp.push_back("Safari/*/*/*/*/" + std::to_string(i) + std::string(kRuleTextMaxBytes - 8, 'n'));
  ASSERT_TRUE(app.system.settings.setList(keys::appRules, perApp));
  file("notes.txt", "");  // the Downloads folder
  ASSERT_TRUE(exchange().exportRules("/Users/user/Downloads"));
  const std::string exported = "/Users/user/Downloads/" + ruleFileName(app.system.calendar.today());
  EXPECT_GT(fs::file_size(app.system.world.hostPath(exported)), std::uintmax_t{8} << 20);

  app.system.settings.remove(keys::appRules);
  const ImportReport report = exchange().importRules(exported);
  EXPECT_EQ(report.outcome.end, RuleFileEnd::complete) << report.outcome.message;
  EXPECT_EQ(report.appRules, 2200u);
  EXPECT_EQ(app.system.settings.getList(keys::appRules).items, perApp);
  EXPECT_EQ(storedHosts(), Hosts{"kept.example Safari"});
}

TEST(RuleFileNameTest, MonthComesFirstAndEveryPartIsPadded) {
  EXPECT_EQ(ruleFileName({2026, 3, 5}), "routelle-03-05-2026.xml");
  EXPECT_EQ(ruleFileName({987, 12, 31}), "routelle-12-31-0987.xml");
}

}  // namespace
}  // namespace routelle
