#include "platform/host/XmlPlistShape.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/host/PlistParse.h"

namespace routelle::hostplist {
namespace {

std::string repeated(std::string_view piece, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += piece;
  return out;
}

TEST(XmlPlistShape, CountsElementsAndNestingOutsideCommentsQuotesAndDeclarations) {
  struct Case {
    const char* name;
    std::string xml;
    unsigned depth;
    std::uint64_t elements;
  };
  const Case cases[] = {
      {"plain", "<plist><dict><key>k</key><array><string>s</string></array></dict></plist>", 4, 5},
      {"empty elements", "<plist><array/><array /><true/></plist>", 1, 4},
      {"declaration and instruction", "<?xml version=\"1.0\"?><?pi <array>?><plist><array></array></plist>", 2, 2},
      {"comment", "<plist><!-- <array><array> --><array></array></plist>", 2, 2},
      {"CDATA", "<plist><string><![CDATA[<array><array>]]></string></plist>", 2, 2},
      {"document type with a subset",
       "<!DOCTYPE plist [<!ENTITY x \"<array>\"> <!ENTITY y '>'>]><plist><array/></plist>", 1, 2},
      {"'>' in a quoted attribute", "<plist version=\"1>0\" a='<array>'><array/></plist>", 1, 2},
      {"unclosed", "<plist>" + repeated("<array>", 600), 601, 601},
      {"unterminated comment", "<plist><array><!-- <array>", 2, 2},
      {"closing more than opened", "</a></a><plist><array/></plist>", 1, 2},
  };
  for (const auto& c : cases) {
    const XmlShape shape = measureXmlShape(c.xml);
    EXPECT_EQ(shape.maxDepth, c.depth) << c.name;
    EXPECT_EQ(shape.elements, c.elements) << c.name;
  }
}

TEST(XmlPlistShape, DeepOrCrowdedDocumentsAreRefusedWithTheirReasonAndOthersRead) {
  const std::string deepest = "<plist><dict><key>k</key>" + repeated("<array>", kMaxPlistDepth - 1) +
                              "<string>s</string>" + repeated("</array>", kMaxPlistDepth - 1) + "</dict></plist>";
  std::string refusal;
  EXPECT_TRUE(parsePlist(deepest.data(), deepest.size(), &refusal)) << refusal;

  struct Case {
    const char* name;
    std::string xml;
    const char* reason;
  };
  const Case cases[] = {
      {"unclosed arrays", "<plist>" + repeated("<array>", 1000), "nest 1001 deep, more than 512 containers"},
      {"deeper than any readable list",
       "<plist><dict><key>k</key>" + repeated("<array>", kMaxPlistDepth + 2) + "<true/>" +
           repeated("</array>", kMaxPlistDepth + 2) + "</dict></plist>",
       "nest 516 deep"},
      // 7 bytes an element would cost libplist about fifteen times the size.
      {"a crowd of tiny elements",
       "<plist><dict><key>k</key><array>" + repeated("<true/>", 200000) + "</array></dict></plist>",
       "holds 200004 elements, more than"},
  };
  for (const auto& c : cases) {
    refusal.clear();
    EXPECT_FALSE(parsePlist(c.xml.data(), c.xml.size(), &refusal)) << c.name;
    EXPECT_NE(refusal.find(c.reason), std::string::npos) << c.name << ": " << refusal;
  }

  // As many elements, each as long as a preference usually is, are read.
  const std::string roomy = "<plist><dict><key>k</key><array>" +
                            repeated("\n\t\t<string>an ordinary stored preference value</string>", 100000) +
                            "</array></dict></plist>";
  refusal.clear();
  EXPECT_TRUE(parsePlist(roomy.data(), roomy.size(), &refusal)) << refusal;
}

}  // namespace
}  // namespace routelle::hostplist
