#include "platform/host/HostListArchiver.h"

#include <gtest/gtest.h>
#include <plist/plist.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/host/KeyedArchiveReader.h"
#include "platform/host/PlistParse.h"
#include "support/Golden.h"

namespace routelle {
namespace {

using hostplist::BinaryReading;
using hostplist::PlistNode;
using List = std::vector<std::string>;

const HostListArchiver archiver;

// Decodes both ways a binary archive can be read; they must always agree.
std::optional<List> decode(const Bytes& data) {
  auto inPlace = hostplist::readKeyedStringArray(data, BinaryReading::inPlace);
  auto viaTree = hostplist::readKeyedStringArray(data, BinaryReading::libplist);
  EXPECT_EQ(inPlace, viaTree);
  return inPlace;
}

PlistNode parse(const Bytes& data) {
  plist_t root = nullptr;
  plist_from_memory(reinterpret_cast<const char*>(data.data()), static_cast<uint32_t>(data.size()), &root);
  return PlistNode(root);
}

Bytes toBinary(plist_t node) {
  char* out = nullptr;  // libplist writes nothing unless this starts out null
  uint32_t length = 0;
  plist_to_bin(node, &out, &length);
  Bytes bytes(out, out + length);
  std::free(out);
  return bytes;
}

Bytes bytesOf(std::string_view text) { return Bytes(text.begin(), text.end()); }

TEST(HostListArchiverTest, RoundTripsLists) {
  List many;
  for (int i = 0; i < 70000; ++i) many.push_back("host" + std::to_string(i % 40000));  // 4-byte refs, shared strings
  const List cases[] = {
      {},
      {""},
      {"", "example.com", "Firefox", "example.org", "Firefox", ""},
      {"é", "日本語.jp", "😀 emoji", "mixed ascii ü", "Ω"},
      {std::string(14, 'a'), std::string(15, 'b'), std::string(300, 'c'), std::string(70000, 'd')},
      many,
  };
  for (const List& list : cases) {
    const Bytes data = archiver.archive(list);
    ASSERT_EQ(std::string(data.begin(), data.begin() + 8), "bplist00");
    EXPECT_EQ(decode(data), list) << list.size() << " items";
  }
}

// Text that is no UTF-8 is archived with U+FFFD in place of each bad sequence;
// UTF-16 with an unpaired surrogate reads as no list at all.
TEST(HostListArchiverTest, ConvertsBetweenUtf8AndUtf16LikeThePlatform) {
  const struct {
    std::string given;
    std::string read;
  } texts[] = {
      {"bad \xC3(utf8", "bad \uFFFD(utf8"},   {"\xFF\xFE", "\uFFFD\uFFFD"},
      {"\xED\xA0\x80", "\uFFFD\uFFFD\uFFFD"},  // a surrogate written as UTF-8
      {"cut \xF0\x9F\x98", "cut \uFFFD"},     {"\xF0\x9F\x98\x80 and \xC3\xA9", "\xF0\x9F\x98\x80 and \xC3\xA9"},
  };
  for (const auto& t : texts) EXPECT_EQ(decode(archiver.archive({t.given})), List{t.read}) << t.given;

  Bytes data = archiver.archive({"x\xF0\x9F\x98\x80"});  // U+1F600 is D83D DE00 in UTF-16
  const unsigned char pair[] = {0xD8, 0x3D, 0xDE, 0x00};
  auto at = std::search(data.begin(), data.end(), std::begin(pair), std::end(pair));
  ASSERT_NE(at, data.end());
  at[2] = 0x00;
  at[3] = 0x41;  // the high surrogate now stands alone before "A"
  EXPECT_EQ(decode(data), std::nullopt);
  at[0] = 0xDE;  // a low surrogate first
  at[1] = 0x00;
  EXPECT_EQ(decode(data), std::nullopt);
}

// "$null", the array, each distinct string once, the class: as the platform lays it out.
TEST(HostListArchiverTest, WritesTheKeyedArchiverLayout) {
  const auto tree = parse(archiver.archive({"x", "y", "x", ""}));
  ASSERT_TRUE(tree);
  char* xml = nullptr;
  uint32_t length = 0;
  plist_to_xml(tree.get(), &xml, &length);
  const std::string actual(xml, length);
  std::free(xml);
  test::expectMatchesGolden(actual, std::filesystem::path(__FILE__).parent_path() / "golden" / "keyed-archive.xml");
}

// An XML archive as the platform writes one for a mutable array holding a
// shared mutable string object, a shared string and a non-ASCII string.
constexpr const char* kPlatformXml = R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0">
<dict>
  <key>$archiver</key><string>NSKeyedArchiver</string>
  <key>$objects</key>
  <array>
    <string>$null</string>
    <dict>
      <key>$class</key><dict><key>CF$UID</key><integer>6</integer></dict>
      <key>NS.objects</key>
      <array>
        <dict><key>CF$UID</key><integer>2</integer></dict>
        <dict><key>CF$UID</key><integer>3</integer></dict>
        <dict><key>CF$UID</key><integer>2</integer></dict>
        <dict><key>CF$UID</key><integer>3</integer></dict>
        <dict><key>CF$UID</key><integer>4</integer></dict>
      </array>
    </dict>
    <string></string>
    <dict>
      <key>$class</key><dict><key>CF$UID</key><integer>5</integer></dict>
      <key>NS.string</key><string>Safari</string>
    </dict>
    <string>bücher.de</string>
    <dict>
      <key>$classes</key><array><string>NSMutableString</string><string>NSString</string><string>NSObject</string></array>
      <key>$classname</key><string>NSMutableString</string>
    </dict>
    <dict>
      <key>$classes</key><array><string>NSMutableArray</string><string>NSArray</string><string>NSObject</string></array>
      <key>$classname</key><string>NSMutableArray</string>
    </dict>
  </array>
  <key>$top</key><dict><key>root</key><dict><key>CF$UID</key><integer>1</integer></dict></dict>
  <key>$version</key><integer>100000</integer>
</dict>
</plist>
)";

TEST(HostListArchiverTest, ReadsWhatThePlatformWrites) {
  const List expected{"", "Safari", "", "Safari", "bücher.de"};
  const Bytes xml = bytesOf(kPlatformXml);
  EXPECT_EQ(decode(xml), expected);
  // The same archive in binary form, from libplist's writer: real UIDs, UTF-16.
  const auto tree = parse(xml);
  plist_t objects = plist_dict_get_item(tree.get(), "$objects");
  auto toUid = [](plist_t dict, const char* key) {
    plist_t cf = plist_dict_get_item(plist_dict_get_item(dict, key), "CF$UID");
    uint64_t v = 0;
    plist_get_uint_val(cf, &v);
    plist_dict_set_item(dict, key, plist_new_uid(v));
  };
  plist_t array = plist_array_get_item(objects, 1);
  toUid(array, "$class");
  plist_t items = plist_dict_get_item(array, "NS.objects");
  for (uint32_t i = 0; i < expected.size(); ++i) {
    plist_t cf = plist_dict_get_item(plist_array_get_item(items, i), "CF$UID");
    uint64_t v = 0;
    plist_get_uint_val(cf, &v);
    plist_array_set_item(items, plist_new_uid(v), i);
  }
  toUid(plist_array_get_item(objects, 3), "$class");
  toUid(plist_dict_get_item(tree.get(), "$top"), "root");
  EXPECT_EQ(decode(toBinary(tree.get())), expected);
}

// Each case damages an archive of {"a", "b"}: $objects = [$null, array, "a", "b", class].
TEST(HostListArchiverTest, RejectsArchivesThatAreNotStringArrays) {
  struct Case {
    const char* what;
    void (*damage)(plist_t root, plist_t objects, plist_t array);
  };
  const Case cases[] = {
      {"other archiver",
       [](plist_t r, plist_t, plist_t) { plist_dict_set_item(r, "$archiver", plist_new_string("NSArchiver")); }},
      {"no $top", [](plist_t r, plist_t, plist_t) { plist_dict_remove_item(r, "$top"); }},
      {"root is $null", [](plist_t r, plist_t,
                           plist_t) { plist_dict_set_item(plist_dict_get_item(r, "$top"), "root", plist_new_uid(0)); }},
      {"root out of range",
       [](plist_t r, plist_t, plist_t) {
         plist_dict_set_item(plist_dict_get_item(r, "$top"), "root", plist_new_uid(99));
       }},
      {"root is a string",
       [](plist_t r, plist_t, plist_t) {
         plist_dict_set_item(plist_dict_get_item(r, "$top"), "root", plist_new_uid(2));
       }},
      {"root not a UID",
       [](plist_t r, plist_t, plist_t) {
         plist_dict_set_item(plist_dict_get_item(r, "$top"), "root", plist_new_uint(1));
       }},
      {"dictionary class",
       [](plist_t, plist_t o, plist_t) {
         plist_dict_set_item(plist_array_get_item(o, 4), "$classname", plist_new_string("NSDictionary"));
       }},
      {"class not a dict", [](plist_t, plist_t, plist_t a) { plist_dict_set_item(a, "$class", plist_new_uid(2)); }},
      {"class is $null", [](plist_t, plist_t, plist_t a) { plist_dict_set_item(a, "$class", plist_new_uid(0)); }},
      {"no NS.objects", [](plist_t, plist_t, plist_t a) { plist_dict_remove_item(a, "NS.objects"); }},
      {"item is $null",
       [](plist_t, plist_t, plist_t a) {
         plist_array_set_item(plist_dict_get_item(a, "NS.objects"), plist_new_uid(0), 1);
       }},
      {"item out of range",
       [](plist_t, plist_t, plist_t a) {
         plist_array_set_item(plist_dict_get_item(a, "NS.objects"), plist_new_uid(5), 1);
       }},
      {"item is the array",
       [](plist_t, plist_t, plist_t a) {
         plist_array_set_item(plist_dict_get_item(a, "NS.objects"), plist_new_uid(1), 0);
       }},
      {"item is the class",
       [](plist_t, plist_t, plist_t a) {
         plist_array_set_item(plist_dict_get_item(a, "NS.objects"), plist_new_uid(4), 0);
       }},
      {"item not a UID",
       [](plist_t, plist_t, plist_t a) {
         plist_array_set_item(plist_dict_get_item(a, "NS.objects"), plist_new_string("a"), 0);
       }},
      {"item is a number", [](plist_t, plist_t o, plist_t) { plist_array_set_item(o, plist_new_uint(7), 3); }},
      {"string object of another class",
       [](plist_t, plist_t o, plist_t) {
         plist_t s = plist_new_dict();
         plist_dict_set_item(s, "NS.string", plist_new_string("b"));
         plist_dict_set_item(s, "$class", plist_new_uid(4));  // NSArray
         plist_array_set_item(o, s, 3);
       }},
      {"objects not an array",
       [](plist_t r, plist_t, plist_t) { plist_dict_set_item(r, "$objects", plist_new_dict()); }},
  };
  for (const Case& c : cases) {
    const auto tree = parse(archiver.archive({"a", "b"}));
    plist_t objects = plist_dict_get_item(tree.get(), "$objects");
    c.damage(tree.get(), objects, plist_array_get_item(objects, 1));
    EXPECT_EQ(decode(toBinary(tree.get())), std::nullopt) << c.what;
  }
}

TEST(HostListArchiverTest, RejectsDamagedBytes) {
  const Bytes good = archiver.archive({"", "example.com", "Firefox"});
  for (std::size_t n = 0; n < good.size(); ++n) {
    EXPECT_EQ(decode(Bytes(good.begin(), good.begin() + n)), std::nullopt) << "prefix of " << n;
  }
  EXPECT_EQ(decode(bytesOf("not a property list")), std::nullopt);
  EXPECT_EQ(decode(bytesOf("<plist><array><string>a</string></array></plist>")), std::nullopt);

  // Bytes the platform never writes in an ASCII string.
  Bytes badText = good;
  const std::string_view word = "example";
  const auto at = std::search(badText.begin(), badText.end(), word.begin(), word.end());
  ASSERT_NE(at, badText.end());
  *at = 0xFF;
  EXPECT_EQ(decode(badText), std::nullopt);
}

// A binary plist put together byte by byte (one-byte references, two-byte offsets).
Bytes handMade(const std::vector<Bytes>& objects) {
  Bytes out = bytesOf("bplist00");
  std::vector<std::size_t> offsets;
  for (const Bytes& o : objects) {
    offsets.push_back(out.size());
    out.insert(out.end(), o.begin(), o.end());
  }
  const std::size_t table = out.size();
  for (std::size_t off : offsets) {
    out.push_back(static_cast<uint8_t>(off >> 8));
    out.push_back(static_cast<uint8_t>(off));
  }
  Bytes trailer(32, 0);
  trailer[6] = 2;  // offset size
  trailer[7] = 1;  // reference size
  trailer[15] = static_cast<uint8_t>(objects.size());
  trailer[30] = static_cast<uint8_t>(table >> 8);
  trailer[31] = static_cast<uint8_t>(table);  // the root is object 0
  out.insert(out.end(), trailer.begin(), trailer.end());
  return out;
}

TEST(KeyedListArchiverTest, AnArchiveDecodesToAtMostAMultipleOfItsSize) {
  // A string the archive holds once but names for every element.
  const Bytes repeated = archiver.archive(List(20000, std::string(60, 'x')));
  ASSERT_LT(repeated.size(), 64u * 1024);
  EXPECT_EQ(decode(repeated), std::nullopt);
  EXPECT_EQ(decode(archiver.archive(List(20000, std::string(15, 'x')))), std::nullopt);  // fits in the string object

  // Every list the rules make fits easily: ten thousand domains all sent to the
  // browser with the longest name, and as many per-application rules.
  List domains{""}, perApp{""};
  for (int i = 0; i < 10000; ++i) {
    domains.push_back("d" + std::to_string(i) + ".io");
    domains.push_back("Safari Technology Preview");
    perApp.push_back("Safari Technology Preview/*/*/*/*/App " + std::to_string(i));
  }
  for (const List& list : {domains, perApp}) {
    const Bytes data = archiver.archive(list);
    EXPECT_EQ(decode(data), list);
  }
}

Bytes ascii(std::string_view s) {
  Bytes b{static_cast<uint8_t>(0x50 | s.size())};
  b.insert(b.end(), s.begin(), s.end());
  return b;
}

TEST(HostListArchiverTest, RejectsCountsTheDataCannotHold) {
  auto archiveWith = [](const Bytes& items) {
    return handMade({
        {0xD3, 1, 3, 5, 2, 4, 6},
        ascii("$archiver"),
        bytesOf("\x5F\x10\x0FNSKeyedArchiver"),
        ascii("$top"),
        {0xD1, 7, 8},
        ascii("$objects"),
        {0xA3, 9, 10, 11},
        ascii("root"),
        {0x80, 1},
        ascii("$null"),
        {0xD2, 12, 13, 14, 15},
        {0xD1, 16, 17},
        ascii("NS.objects"),
        ascii("$class"),
        items,
        {0x80, 2},
        ascii("$classname"),
        ascii("NSArray"),
    });
  };
  EXPECT_EQ(decode(archiveWith({0xA0})), List{});
  EXPECT_EQ(decode(archiveWith({0xAF, 0x13, 0x7F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF})), std::nullopt);
  EXPECT_EQ(decode(archiveWith({0xAF, 0x12, 0x00, 0x10, 0x00, 0x00})), std::nullopt);
}

}  // namespace
}  // namespace routelle
