#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "settings/Keys.h"
#include "support/TestWorld.h"

namespace routelle {
namespace {

TEST(SettingsStore, KindsSurviveARestartAndAbsenceIsDistinct) {
  test::TestWorld world;
  auto& s = world.system().settings;
  EXPECT_FALSE(s.getString(keys::onionRule));
  s.setBool(keys::openInBackground, true);
  s.setInteger(keys::shareBehavior, 1, Domain::suite);
  s.setDouble(keys::menuBarIconSize, 16.0);
  s.setString(keys::rulePriority, "1");
  s.setList(keys::domainRules, {"", "example.com", "Firefox"});

  auto again = world.reopen();
  EXPECT_EQ(again->settings.getBool(keys::openInBackground), true);
  EXPECT_EQ(again->settings.getInteger(keys::shareBehavior, Domain::suite), 1);
  EXPECT_FALSE(again->settings.getInteger(keys::shareBehavior));  // suite and standard stay apart
  EXPECT_EQ(again->settings.getString(keys::rulePriority), "1");
  EXPECT_FALSE(again->settings.getBool(keys::rulePriority));  // a string is no number
  auto list = again->settings.getList(keys::domainRules);
  EXPECT_EQ(list.state, StoredList::State::list);
  EXPECT_EQ(list.items, (std::vector<std::string>{"", "example.com", "Firefox"}));

  // The double is stored as a double, even for a whole number.
  auto raw = again->standard.object(keys::menuBarIconSize);
  ASSERT_TRUE(raw);
  EXPECT_TRUE(std::holds_alternative<double>(*raw));

  again->settings.remove(keys::openInBackground);
  EXPECT_FALSE(world.reopen()->settings.contains(keys::openInBackground));
}

TEST(SettingsStore, EnsureDefaultWritesOnlyWhenAbsent) {
  test::TestWorld world;
  auto& s = world.system().settings;
  EXPECT_EQ(s.ensureString(keys::defaultChoice, "Show Browser List"), "Show Browser List");
  s.setString(keys::defaultChoice, "Safari");
  EXPECT_EQ(s.ensureString(keys::defaultChoice, "Show Browser List"), "Safari");
  EXPECT_TRUE(s.ensureBool(keys::hideChooserClose, true));
  EXPECT_EQ(world.reopen()->settings.getBool(keys::hideChooserClose), true);
  // A value of another kind counts as absent and is replaced by the default.
  s.setString(keys::coloredIcon, "yes");
  EXPECT_FALSE(s.ensureBool(keys::coloredIcon, false));
  EXPECT_EQ(s.getBool(keys::coloredIcon), false);
}

TEST(SettingsStore, UndecodableListIsReportedNotEmptied) {
  test::TestWorld world;
  auto& s = world.system();
  s.standard.set(keys::domainRules, Bytes{'n', 'o', 't'});
  EXPECT_EQ(s.settings.getList(keys::domainRules).state, StoredList::State::undecodable);
  s.standard.set(keys::appRules, std::string("text"));
  EXPECT_EQ(s.settings.getList(keys::appRules).state, StoredList::State::absent);

  // Read as no rules, but named once for the user, not once per link.
  std::vector<std::string> reported;
  s.settings.report().setSink([&](std::string_view line) { reported.emplace_back(line); });
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(s.settings.sharedList(keys::domainRules)->state, StoredList::State::undecodable);
  ASSERT_EQ(reported.size(), 1u);
  EXPECT_NE(reported[0].find("\"domains\" could not be read"), std::string::npos) << reported[0];
  EXPECT_FALSE(s.rules.addDomainRule("example.org", "Safari"));
  ASSERT_EQ(reported.size(), 2u);
  EXPECT_NE(reported[1].find("\"domains\" cannot be unarchived"), std::string::npos) << reported[1];
}

TEST(SettingsStore, WritesThatFailAreAnsweredAndCountedWithTheirCause) {
  test::TestWorld world;
  auto& s = world.system().settings;
  EXPECT_TRUE(s.setString(keys::defaultChoice, "Safari"));
  EXPECT_EQ(s.writeFailures().count, 0u);

  // A directory in the preferences file's place: nothing can replace it.
  const auto file = world.system().world.preferencesFile(domains::standard);
  std::filesystem::remove(file);
  std::filesystem::create_directories(file / "blocking");
  EXPECT_FALSE(s.setBool(keys::openInBackground, true));
  EXPECT_FALSE(s.setList(keys::domainRules, {"", "a.com", "Safari"}));
  EXPECT_FALSE(s.remove(keys::defaultChoice));
  const auto failures = s.writeFailures();
  EXPECT_EQ(failures.count, 3u);
  EXPECT_NE(failures.lastCause.find("Is a directory"), std::string::npos) << failures.lastCause;
  // The suite is another file: its writes still succeed and count nothing.
  EXPECT_TRUE(s.setInteger(keys::shareBehavior, 1, Domain::suite));
  EXPECT_EQ(s.writeFailures().count, 3u);

  // The user is told of the changes they asked for; first-use values and the
  // writes of an unattended body are the program's own.
  std::vector<std::string> told;
  s.setWriteFailureListener([&](const std::string& cause) { told.push_back(cause); });
  EXPECT_FALSE(s.setString(keys::defaultChoice, "Firefox"));
  s.ensureBool(keys::hideChooserUrl, true);
  s.unattended([&] { s.setBool(keys::imagesOnlyChooser, true); });
  ASSERT_EQ(told.size(), 1u);
  EXPECT_NE(told[0].find("Is a directory"), std::string::npos) << told[0];
  EXPECT_EQ(s.writeFailures().count, 6u);
  s.setWriteFailureListener(nullptr);
}

TEST(SettingsStore, InterfaceStyleComesFromTheGlobalDomain) {
  test::TestWorld world;
  EXPECT_FALSE(world.system().settings.interfaceStyle());
}

}  // namespace
}  // namespace routelle

namespace routelle {
namespace {

std::vector<std::string> texts(const std::shared_ptr<const StoredListView>& list) {
  return {list->items.begin(), list->items.end()};
}

TEST(SettingsStore, SharedListIsDecodedOncePerStoredValue) {
  test::TestWorld world;
  auto& s = world.system().settings;
  s.setList(keys::domainRules, {"", "a.com", "Safari"});
  auto first = s.sharedList(keys::domainRules);
  EXPECT_EQ(s.sharedList(keys::domainRules), first);  // unchanged: the same decoded list

  // A write by another process is seen: the list is decoded anew.
  world.reopen()->settings.setList(keys::domainRules, {"", "b.com", "Firefox"});
  auto second = s.sharedList(keys::domainRules);
  EXPECT_NE(second, first);
  EXPECT_EQ(texts(second), (std::vector<std::string>{"", "b.com", "Firefox"}));
  EXPECT_EQ(first->items[1], "a.com");  // holders of the old list keep it intact

  s.remove(keys::domainRules);
  EXPECT_EQ(s.sharedList(keys::domainRules)->state, StoredList::State::absent);
}

// The first link after a change of settings does not decode, or index, a list
// that did not change.
TEST(SettingsStore, AListOutlivesChangesOfOtherKeysAndComesFromItsOwnWrite) {
  test::TestWorld world;
  auto& s = world.system().settings;
  s.setList(keys::domainRules, {"", "a.com", "Safari"});
  auto first = s.sharedList(keys::domainRules);
  EXPECT_EQ(texts(first), (std::vector<std::string>{"", "a.com", "Safari"}));
  s.setString(keys::defaultChoice, "Firefox");
  world.reopen()->settings.setBool(keys::openInBackground, true);
  EXPECT_EQ(s.sharedList(keys::domainRules), first);
  // Another process writing the same list again changes nothing either.
  world.reopen()->settings.setList(keys::domainRules, {"", "a.com", "Safari"});
  EXPECT_EQ(s.sharedList(keys::domainRules), first);

  s.setList(keys::domainRules, {"", "b.com", "Firefox"});
  auto second = s.sharedList(keys::domainRules);
  EXPECT_NE(second, first);
  EXPECT_EQ(texts(second), (std::vector<std::string>{"", "b.com", "Firefox"}));
  EXPECT_EQ(world.reopen()->settings.getList(keys::domainRules).items, texts(second));
  s.setString(keys::domainRules, "not a list");
  EXPECT_EQ(s.sharedList(keys::domainRules)->state, StoredList::State::absent);
}

// A change that rewrites a list whole starts from the list readers share only
// when that is the stored value; a reader's list never changes under it.
TEST(SettingsStore, AListTakenForAChangeIsTheStoredOneAndNoReadersCopy) {
  test::TestWorld world;
  auto& s = world.system().settings;
  auto& rules = world.system().rules;
  const std::vector<std::string> first{"", "a.com", "Safari"};
  s.setList(keys::domainRules, first);
  const auto held = s.sharedList(keys::domainRules);
  rules.addDomainRule("b.com", "Firefox");
  EXPECT_EQ(texts(held), first);
  EXPECT_EQ(texts(s.sharedList(keys::domainRules)),
            (std::vector<std::string>{"", "a.com", "Safari", "b.com", "Firefox"}));

  // Held by nobody: changed into what is stored.
  rules.addDomainRule("c.com", "Safari");
  EXPECT_EQ(world.reopen()->settings.getList(keys::domainRules).items,
            (std::vector<std::string>{"", "a.com", "Safari", "b.com", "Firefox", "c.com", "Safari"}));

  // Another process changed the file: the cached list is stale and not taken.
  s.sharedList(keys::domainRules);
  world.reopen()->settings.setList(keys::domainRules, {"", "d.com", "Firefox"});
  rules.addDomainRule("e.com", "Safari");
  EXPECT_EQ(world.reopen()->settings.getList(keys::domainRules).items,
            (std::vector<std::string>{"", "d.com", "Firefox", "e.com", "Safari"}));
  EXPECT_EQ(texts(s.sharedList(keys::domainRules)),
            (std::vector<std::string>{"", "d.com", "Firefox", "e.com", "Safari"}));
}

}  // namespace
}  // namespace routelle
