#include "platform/host/HostDefaults.h"

#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <plist/plist.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <limits>
#include <set>
#include <string>
#include <vector>

#include "platform/host/PlistParse.h"
#include "support/TempDir.h"

namespace routelle {
namespace {

namespace fs = std::filesystem;
using hostplist::PlistNode;

std::string readFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeFile(const fs::path& p, std::string_view bytes) {
  std::ofstream(p, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

PlistNode parseFile(const fs::path& p) {
  const std::string bytes = readFile(p);
  return hostplist::parsePlist(bytes.data(), bytes.size());
}

void writePlist(const fs::path& p, plist_t node) {
  char* out = nullptr;
  uint32_t length = 0;
  plist_to_bin(node, &out, &length);
  writeFile(p, std::string_view(out, length));
  std::free(out);
}

std::set<std::string> namesIn(const fs::path& dir) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) names.insert(entry.path().filename().string());
  return names;
}

// Objects and their one-byte offsets, behind the header and before a trailer.
std::string binaryPlist(const std::string& objects, const std::string& offsets) {
  std::string trailer(32, '\0');
  trailer[6] = trailer[7] = 1;  // offset and reference sizes
  trailer[15] = static_cast<char>(offsets.size());
  trailer[31] = static_cast<char>(8 + objects.size());
  return "bplist00" + objects + offsets + trailer;
}

// Objects (marker and payload each) with four-byte offsets and one-byte references.
std::string binaryPlistOf(const std::vector<std::string>& objects) {
  auto bigEndian = [](std::uint64_t v, int width) {
    std::string out;
    for (int i = width - 1; i >= 0; --i) out += static_cast<char>(v >> (8 * i));
    return out;
  };
  std::string body = "bplist00", table;
  for (const auto& object : objects) {
    table += bigEndian(body.size(), 4);
    body += object;
  }
  return body + table + std::string(6, '\0') + "\x04\x01" + bigEndian(objects.size(), 8) + bigEndian(0, 8) +
         bigEndian(body.size(), 8);
}

class HostDefaultsTest : public ::testing::Test {
 protected:
  test::TempDir dir;
  fs::path file = dir.path() / "Library/Preferences/com.example.routelle.plist";
};

TEST_F(HostDefaultsTest, ValuesKeepTheirKindsOnDisk) {
  const std::vector<std::pair<std::string, DefaultsValue>> values = {
      {"yes", true},
      {"no", false},
      {"zero", std::int64_t{0}},
      {"minusOne", std::int64_t{-1}},
      {"min", std::numeric_limits<std::int64_t>::min()},
      {"max", std::numeric_limits<std::int64_t>::max()},
      {"real", 1.5},
      {"negativeReal", -2.25e300},
      {"empty", std::string()},
      {"text", std::string("bücher.de 😀")},
      {"noBytes", Bytes()},
      {"bytes", Bytes{0, 1, 0x7F, 0xFF}},
  };
  {
    HostDefaults d(file);
    for (const auto& [key, value] : values) d.set(key, value);
    EXPECT_TRUE(d.synchronize());
  }
  HostDefaults fresh(file);
  for (const auto& [key, value] : values) EXPECT_EQ(fresh.object(key), value) << key;
  EXPECT_EQ(fresh.object("absent"), std::nullopt);

  // A genuine binary plist that other tools read.
  EXPECT_EQ(readFile(file).substr(0, 8), "bplist00");
  const std::string command = "plistutil -i '" + file.string() + "' -o - 2>/dev/null";
  if (FILE* pipe = ::popen(command.c_str(), "r")) {
    std::string xml;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) xml.append(buffer, n);
    if (::pclose(pipe) == 0) {
      EXPECT_NE(xml.find("<key>negativeReal</key>"), std::string::npos);
      EXPECT_NE(xml.find("<true/>"), std::string::npos);
    }
  }
}

TEST_F(HostDefaultsTest, KeepsKindsItNeverWritesAcrossWrites) {
  fs::create_directories(file.parent_path());
  PlistNode original(plist_new_dict());
  plist_dict_set_item(original.get(), "when", plist_new_date(700000000, 5));
  plist_t array = plist_new_array();
  plist_array_append_item(array, plist_new_string("kept"));
  plist_dict_set_item(original.get(), "list", array);
  plist_t dict = plist_new_dict();
  plist_dict_set_item(dict, "nested", plist_new_uint(3));
  plist_dict_set_item(original.get(), "dict", dict);
  plist_dict_set_item(original.get(), "gone", plist_new_string("x"));
  writePlist(file, original.get());

  HostDefaults d(file);
  EXPECT_EQ(d.object("when"), std::nullopt);
  EXPECT_EQ(d.object("list"), std::nullopt);
  d.set("new", std::int64_t{7});
  d.remove("gone");

  const auto stored = parseFile(file);
  ASSERT_TRUE(stored);
  plist_dict_remove_item(original.get(), "gone");
  plist_dict_set_item(original.get(), "new", plist_new_uint(7));
  char* expected = nullptr;
  char* actual = nullptr;
  uint32_t n = 0;
  plist_to_xml(original.get(), &expected, &n);
  plist_to_xml(stored.get(), &actual, &n);
  EXPECT_STREQ(actual, expected);
  std::free(expected);
  std::free(actual);
}

TEST_F(HostDefaultsTest, RemoveReachesTheFile) {
  HostDefaults d(file);
  d.remove("never");  // nothing to remove: nothing written
  EXPECT_FALSE(fs::exists(file));
  d.set("a", true);
  d.set("b", true);
  d.remove("a");
  EXPECT_TRUE(d.synchronize());
  HostDefaults fresh(file);
  EXPECT_EQ(fresh.object("a"), std::nullopt);
  EXPECT_EQ(fresh.object("b"), DefaultsValue(true));
  // Only the preferences and the lock: no temporary file left behind.
  EXPECT_EQ(namesIn(file.parent_path()),
            (std::set<std::string>{"com.example.routelle.plist", "com.example.routelle.plist.lock"}));
}

TEST_F(HostDefaultsTest, UnreadableFilesReadAsEmptyAndAreKeptAsideOnlyByAWrite) {
  fs::create_directories(file.parent_path());
  // A deep chain, a binary plist of 2^40 shared nodes, and a key holding NUL
  // (libplist's key getter asserts on it): all refused before libplist sees them.
  std::string deep = "<plist><dict><key>k</key>";
  for (int i = 0; i < 200000; ++i) deep += "<array>";
  std::string laughs, offsets;
  for (int i = 0; i < 40; ++i) {
    offsets += char(8 + laughs.size());
    laughs += i < 39 ? std::string{'\xA2', char(i + 1), char(i + 1)} : std::string("\x51x", 2);
  }
  const std::string nulKey("\xD1\x01\x02\x62\x00\x61\x00\x00\x09", 9);
  // Small files that would cost far more than their size once libplist copies
  // every share: a thousand references to an array of a thousand, and a 64 KiB
  // string under two hundred keys.
  const std::string thousandRefs = std::string{'\xAF', '\x11', '\x03', '\xE8'};
  const std::string arrayOfArrays = binaryPlistOf({"\xD1\x01\x02", "\x51k", thousandRefs + std::string(1000, '\x03'),
                                                   thousandRefs + std::string(1000, '\x04'), "\x09"});
  std::vector<std::string> wide = {std::string{'\xDF', '\x10', '\xC8'}};
  for (int i = 0; i < 200; ++i) wide[0] += char(i + 1);
  wide[0] += std::string(200, char(201));
  for (int i = 0; i < 200; ++i) wide.push_back("\x54k" + std::to_string(100 + i));
  wide.push_back(std::string{'\x5F', '\x12', '\x00', '\x01', '\x00', '\x00'} + std::string(65536, 's'));
  const std::string sharedString = binaryPlistOf(wide);
  // Also bytes libplist would read but write back as something else.
  const std::string cases[] = {arrayOfArrays,
                               sharedString,
                               "garbage",
                               "bplist00 truncated",
                               "<plist><array/></plist>",
                               "<plist><dict><key>\xFF</key><true/></dict></plist>",
                               "<plist><dict><key>k</key><string>&#xD800;</string></dict></plist>",
                               deep,
                               binaryPlist(laughs, offsets),
                               binaryPlist(nulKey, "\x08\x0B\x10")};
  auto keptAside = [&](const std::string& bytes) {
    int found = 0;
    for (const auto& entry : fs::directory_iterator(file.parent_path())) {
      const std::string content = readFile(entry.path());
      if (content != "older" && entry.path().filename().string().find(".corrupt-") != std::string::npos) {
        EXPECT_EQ(content, bytes);
        ++found;
      }
    }
    return found;
  };
  for (const std::string& bytes : cases) {
    for (const auto& entry : fs::directory_iterator(file.parent_path())) fs::remove(entry.path());
    // Names a previous run may already have used stay untouched.
    const auto now = std::time(nullptr);
    for (auto t = now - 1; t <= now + 2; ++t) writeFile(file.string() + ".corrupt-" + std::to_string(t), "older");
    writeFile(file, bytes);

    // Reading, however often, leaves the user's file where it is.
    HostDefaults d(file);
    EXPECT_EQ(d.object("k"), std::nullopt);
    EXPECT_EQ(d.object("k"), std::nullopt);
    EXPECT_EQ(HostDefaults(file).object("k"), std::nullopt);
    EXPECT_EQ(readFile(file), bytes);
    EXPECT_EQ(keptAside(bytes), 0);

    d.set("k", std::string("v"));
    EXPECT_TRUE(d.synchronize());
    EXPECT_EQ(keptAside(bytes), 1);
    EXPECT_EQ(HostDefaults(file).object("k"), DefaultsValue(std::string("v")));
  }
}

TEST_F(HostDefaultsTest, AStringValueHoldingNulLeavesTheRestReadable) {
  fs::create_directories(file.parent_path());
  // {"k": "x", NUL, "y" in UTF-16, "ascii": "a", NUL, "b", "other": true}
  const std::string objects(
      "\xD3\x01\x03\x05\x02\x04\x06"
      "\x51k"
      "\x63\x00x\x00\x00\x00y"
      "\x55"
      "ascii"
      "\x53"
      "a\0b"
      "\x55"
      "other"
      "\x09",
      33);
  const std::string bytes = binaryPlist(objects, "\x08\x0F\x11\x18\x1E\x22\x28");
  writeFile(file, bytes);

  HostDefaults d(file);
  EXPECT_EQ(d.object("other"), DefaultsValue(true));
  // A string ends at its first NUL, as every string written here does.
  EXPECT_EQ(d.object("k"), DefaultsValue(std::string("x")));
  EXPECT_EQ(d.object("ascii"), DefaultsValue(std::string("a")));
  d.set("n", true);
  EXPECT_TRUE(d.synchronize());
  EXPECT_EQ(namesIn(file.parent_path()),
            (std::set<std::string>{"com.example.routelle.plist", "com.example.routelle.plist.lock"}));
  HostDefaults again(file);
  EXPECT_EQ(again.object("other"), DefaultsValue(true));
  EXPECT_EQ(again.object("k"), DefaultsValue(std::string("x")));
  EXPECT_EQ(again.object("n"), DefaultsValue(true));
}

TEST_F(HostDefaultsTest, AnEmptyFileIsAnEmptyDomain) {
  fs::create_directories(file.parent_path());
  writeFile(file, "");
  HostDefaults d(file);
  EXPECT_EQ(d.object("k"), std::nullopt);
  EXPECT_EQ(namesIn(file.parent_path()), std::set<std::string>{"com.example.routelle.plist"});
}

TEST_F(HostDefaultsTest, ReadOnlyDomainsNeverTouchTheDisk) {
  HostDefaults missing(file, /*readOnly=*/true);
  missing.set("k", true);
  missing.remove("k");
  missing.transaction([&] { missing.set("k", false); });
  EXPECT_FALSE(missing.synchronize());
  EXPECT_EQ(missing.object("k"), std::nullopt);
  EXPECT_FALSE(fs::exists(file.parent_path()));

  HostDefaults writer(file);
  writer.set("AppleInterfaceStyle", std::string("Dark"));
  EXPECT_EQ(missing.object("AppleInterfaceStyle"), DefaultsValue(std::string("Dark")));

  fs::remove(file.string() + ".lock");
  writeFile(file, "garbage");
  HostDefaults corrupt(file, /*readOnly=*/true);
  EXPECT_EQ(corrupt.object("AppleInterfaceStyle"), std::nullopt);
  EXPECT_EQ(namesIn(file.parent_path()), std::set<std::string>{"com.example.routelle.plist"});
}

TEST_F(HostDefaultsTest, InstancesSeeEachOthersWrites) {
  HostDefaults a(file);
  HostDefaults b(file);
  a.set("x", std::int64_t{1});
  EXPECT_EQ(b.object("x"), DefaultsValue(std::int64_t{1}));
  b.set("y", std::int64_t{2});
  a.set("z", std::int64_t{3});  // must not write back a's stale view without y
  HostDefaults fresh(file);
  EXPECT_EQ(fresh.object("y"), DefaultsValue(std::int64_t{2}));
  EXPECT_EQ(fresh.object("z"), DefaultsValue(std::int64_t{3}));
  b.remove("x");
  EXPECT_EQ(a.object("x"), std::nullopt);
}

// Reads trust the cache while the lock file's write count stands, so a write
// from another process must move it.
TEST_F(HostDefaultsTest, AWriteByAnotherProcessIsSeenAtTheNextRead) {
  HostDefaults reader(file);
  EXPECT_EQ(reader.object("x"), std::nullopt);  // no file and no lock file yet
  auto writeInChild = [&](std::int64_t value) {
    const pid_t child = fork();
    if (child == 0) {
      HostDefaults writer(file);
      writer.set("x", value);
      std::_Exit(writer.synchronize() ? 0 : 1);
    }
    int status = -1;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  };
  writeInChild(1);
  EXPECT_EQ(reader.object("x"), DefaultsValue(std::int64_t{1}));
  const auto changes = reader.changeCount();
  EXPECT_EQ(reader.changeCount(), changes);  // nothing written since
  writeInChild(2);
  EXPECT_NE(reader.changeCount(), changes);
  EXPECT_EQ(reader.object("x"), DefaultsValue(std::int64_t{2}));
  // The same within one event's snapshot, which sees the file as of its start.
  reader.snapshot([&] {
    writeInChild(3);
    EXPECT_EQ(reader.object("x"), DefaultsValue(std::int64_t{2}));
  });
  EXPECT_EQ(reader.object("x"), DefaultsValue(std::int64_t{3}));
}

// Reads hand out values decoded once per change: of every kind, a value changed
// by another process, by another instance or by this one is never read stale,
// within a snapshot too when this instance wrote it.
TEST_F(HostDefaultsTest, DecodedValuesOfEveryKindFollowEachChange) {
  const std::vector<std::pair<DefaultsValue, DefaultsValue>> kinds = {
      {true, false},
      {std::int64_t{1}, std::int64_t{2}},
      {0.5, 1.5},
      {std::string("Safari"), std::string("a browser named at more length than a short text")},
      {Bytes{1, 2, 3}, Bytes{4, 5}},
  };
  HostDefaults reader(file);
  HostDefaults other(file);
  for (const auto& [before, after] : kinds) {
    SCOPED_TRACE(before.index());
    const pid_t child = fork();
    if (child == 0) {
      HostDefaults writer(file);
      writer.set("k", before);
      std::_Exit(writer.synchronize() ? 0 : 1);
    }
    int status = -1;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(reader.object("k"), before);
    EXPECT_EQ(reader.object("k"), before);  // read again, unchanged
    other.set("k", after);
    EXPECT_EQ(reader.object("k"), after);
    reader.snapshot([&, &before = before] {
      reader.set("k", before);
      EXPECT_EQ(reader.object("k"), before);
      reader.remove("k");
      EXPECT_EQ(reader.object("k"), std::nullopt);
    });
  }
}

// Data is read in place and handed out shared: what a reader holds stays as it
// was through the writes and re-reads after it.
TEST_F(HostDefaultsTest, SharedDataOutlivesTheChangesAfterIt) {
  HostDefaults d(file);
  d.set("list", Bytes{1, 2, 3});
  d.set("text", std::string("not data"));
  const auto held = d.data("list");
  ASSERT_TRUE(held);
  EXPECT_FALSE(d.data("text"));
  EXPECT_FALSE(d.data("absent"));
  d.set("list", Bytes{9});
  HostDefaults(file).set("other", true);
  EXPECT_EQ(d.object("other"), DefaultsValue(true));
  EXPECT_EQ(Bytes(held->bytes.begin(), held->bytes.end()), (Bytes{1, 2, 3}));
  const auto now = d.data("list");
  ASSERT_TRUE(now);
  EXPECT_EQ(Bytes(now->bytes.begin(), now->bytes.end()), Bytes{9});
}

// Reading in place takes exactly the files libplist takes, which the first
// write needs: a file it refuses reads as empty rather than half read.
TEST_F(HostDefaultsTest, WhatLibplistRefusesIsNotReadInPlaceEither) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"a number as key", "\x10\x05"},
      {"an empty UTF-16 text", std::string("\x60", 1)},
      {"a UID of five bytes", std::string("\x84\x00\x00\x00\x00\x01", 6)},
      {"a real of two bytes", std::string("\x21\x00\x00", 3)},
      {"an unknown marker", "\x0a"},
      {"nothing wrong", "\x08"},
  };
  for (const auto& [what, odd] : cases) {
    SCOPED_TRACE(what);
    const bool asKey = what == "a number as key";
    const std::string bytes =
        binaryPlistOf({"\xD2\x01\x02\x03\x04", "Qk", asKey ? odd : "Qj", "\x09", asKey ? "\x09" : odd});
    fs::create_directories(file.parent_path());
    writeFile(file, bytes);
    const bool readable = hostplist::parsePlist(bytes.data(), bytes.size()) != nullptr;
    EXPECT_EQ(readable, what == "nothing wrong");
    HostDefaults d(file, /*readOnly=*/true);
    EXPECT_EQ(d.object("k"), readable ? std::optional(DefaultsValue(true)) : std::nullopt);
  }
}

TEST_F(HostDefaultsTest, TransactionsNestAndSeeTheFileAsOfTheirStart) {
  HostDefaults a(file);
  HostDefaults b(file);
  a.object("n");  // a's cache now predates b's write
  b.set("n", std::int64_t{41});
  a.transaction([&] {
    const auto n = a.object("n");
    ASSERT_EQ(n, DefaultsValue(std::int64_t{41}));
    a.transaction([&] { a.set("n", std::get<std::int64_t>(*n) + 1); });
    a.set("done", true);
  });
  EXPECT_EQ(b.object("n"), DefaultsValue(std::int64_t{42}));
  EXPECT_EQ(b.object("done"), DefaultsValue(true));
}

TEST_F(HostDefaultsTest, FailedWritesAreReportedWithTheirCause) {
  fs::create_directories(dir.path() / "blocker");
  writeFile(dir.path() / "blocker/file", "");
  HostDefaults d(dir.path() / "blocker/file/inside/domain.plist");  // a parent is a regular file
  d.set("k", true);
  EXPECT_FALSE(d.synchronize());
  EXPECT_THAT(d.lastWriteError(), ::testing::HasSubstr("Not a directory"));

  // A directory in the file's place is left alone; writing over it fails.
  fs::create_directories(file / "inside");
  HostDefaults blocked(file);
  blocked.set("k", true);
  EXPECT_FALSE(blocked.synchronize());
  EXPECT_THAT(blocked.lastWriteError(), ::testing::HasSubstr("Is a directory"));
  EXPECT_TRUE(fs::is_directory(file / "inside"));
  fs::remove_all(file);

  HostDefaults ok(file);
  ok.set(std::string_view("a\0b", 3), true);  // no such key in a C-string dictionary
  EXPECT_FALSE(ok.synchronize());
  ok.set("a", true);
  EXPECT_TRUE(ok.synchronize());
}

TEST_F(HostDefaultsTest, AFifoOrAFolderWhereTheFileBelongsIsNeitherWaitedOnNorReplaced) {
  fs::create_directories(file.parent_path());
  ASSERT_EQ(::mkfifo(file.c_str(), 0644), 0);
  {
    HostDefaults fifo(file);  // a blocking open would wait here for a writer forever
    EXPECT_FALSE(fifo.object("k"));
    fifo.set("k", true);
    EXPECT_FALSE(fifo.synchronize());
    EXPECT_THAT(fifo.lastWriteError(), ::testing::HasSubstr("not a regular file"));
    EXPECT_TRUE(fs::is_fifo(file));
    EXPECT_EQ(namesIn(file.parent_path()),
              (std::set<std::string>{file.filename().string(), file.filename().string() + ".lock"}));
  }
  fs::remove(file);

  fs::create_directories(file);  // empty: a rename could not tell it from a file
  HostDefaults folder(file);
  EXPECT_FALSE(folder.object("k"));
  folder.remove("absent");
  folder.set("k", 1.5);
  EXPECT_FALSE(folder.synchronize());
  EXPECT_THAT(folder.lastWriteError(), ::testing::HasSubstr("Is a directory"));
  EXPECT_TRUE(fs::is_directory(file));
}

TEST_F(HostDefaultsTest, AWriterGivesUpOnALockHeldTooLongAndSavesLater) {
  HostDefaults d(file, /*readOnly=*/false, std::chrono::milliseconds(20));
  d.set("before", true);
  ASSERT_TRUE(d.synchronize());

  // Another process holding the lock: flock excludes other open files of this process too.
  const int holder = ::open((file.string() + ".lock").c_str(), O_RDWR | O_CLOEXEC);
  ASSERT_GE(holder, 0);
  ASSERT_EQ(::flock(holder, LOCK_EX), 0);
  d.set("k", true);
  EXPECT_FALSE(d.synchronize());
  EXPECT_THAT(d.lastWriteError(), ::testing::HasSubstr("lock"));
  EXPECT_EQ(HostDefaults(file, true).object("k"), std::nullopt);
  d.transaction([&] { d.set("t", true); });
  EXPECT_FALSE(d.synchronize());
  EXPECT_EQ(HostDefaults(file, true).object("t"), std::nullopt);

  ::flock(holder, LOCK_UN);
  ::close(holder);
  EXPECT_TRUE(d.synchronize());  // the change kept in memory is written now
  HostDefaults fresh(file);
  EXPECT_EQ(fresh.object("k"), DefaultsValue(true));
  EXPECT_EQ(fresh.object("t"), DefaultsValue(true));
  EXPECT_EQ(fresh.object("before"), DefaultsValue(true));
}

TEST_F(HostDefaultsTest, TemporariesOfKilledWritersAreRemovedByTheNextWriter) {
  fs::create_directories(file.parent_path());
  const std::string left[] = {".com.example.routelle.plist.AbC123", ".com.example.routelle.plist.zzzzzz"};
  for (const auto& name : left) writeFile(file.parent_path() / name, std::string(4096, 'x'));
  // Names that only look alike stay.
  const std::set<std::string> others = {".com.example.routelle.plist.keep", ".other.plist.AbC123", "notes.txt"};
  for (const auto& name : others) writeFile(file.parent_path() / name, "mine");

  HostDefaults d(file);
  EXPECT_EQ(d.object("k"), std::nullopt);
  EXPECT_EQ(namesIn(file.parent_path()).count(left[0]), 1u);  // reading removes nothing
  d.set("k", true);
  EXPECT_TRUE(d.synchronize());
  std::set<std::string> expected = others;
  expected.insert({"com.example.routelle.plist", "com.example.routelle.plist.lock"});
  EXPECT_EQ(namesIn(file.parent_path()), expected);
}

}  // namespace
}  // namespace routelle
