// The scripting definition delivers every command to its class with the argument
// keys the class reads; a slip here fails silently in the scripting system.
#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/tree.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "scripting/ScriptCommands.h"
#include "scripting/ScriptDefinition.h"

namespace {

struct Parameter {
  std::string key;
  std::string type;
  std::string code;
};

struct Command {
  std::string code;
  std::vector<Parameter> parameters;  // the direct parameter under the empty key
};

std::string attribute(xmlNode* node, const char* name) {
  xmlChar* value = xmlGetProp(node, reinterpret_cast<const xmlChar*>(name));
  std::string out = value ? reinterpret_cast<const char*>(value) : "";
  xmlFree(value);
  return out;
}

bool named(xmlNode* node, const char* name) {
  return node->type == XML_ELEMENT_NODE && xmlStrEqual(node->name, reinterpret_cast<const xmlChar*>(name));
}

xmlNode* child(xmlNode* node, const char* name) {
  for (xmlNode* c = node->children; c; c = c->next)
    if (named(c, name)) return c;
  return nullptr;
}

// Commands by their class, as the scripting system reads the definition.
std::map<std::string, Command> commandsByClass() {
  const auto file = std::filesystem::path(ROUTELLE_MACOS_DIR) / "Routelle.sdef";
  std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)> doc(xmlReadFile(file.c_str(), nullptr, XML_PARSE_NONET), &xmlFreeDoc);
  std::map<std::string, Command> out;
  if (!doc) return out;
  for (xmlNode* suite = xmlDocGetRootElement(doc.get())->children; suite; suite = suite->next) {
    if (!named(suite, "suite")) continue;
    for (xmlNode* c = suite->children; c; c = c->next) {
      if (!named(c, "command")) continue;
      Command command{attribute(c, "code"), {}};
      for (xmlNode* p = c->children; p; p = p->next) {
        if (named(p, "direct-parameter")) command.parameters.push_back({"", attribute(p, "type"), ""});
        if (!named(p, "parameter")) continue;
        xmlNode* cocoa = child(p, "cocoa");
        command.parameters.push_back(
            {cocoa ? attribute(cocoa, "key") : "", attribute(p, "type"), attribute(p, "code")});
      }
      xmlNode* cocoa = child(c, "cocoa");
      out[cocoa ? attribute(cocoa, "class") : ""] = command;
    }
  }
  return out;
}

std::set<std::string> keysOf(const Command& command) {
  std::set<std::string> keys;
  for (const auto& p : command.parameters) keys.insert(p.key);
  return keys;
}

TEST(ScriptingDefinition, NamesEveryCommandClassOnceAndNoOther) {
  const auto commands = commandsByClass();
  ASSERT_FALSE(commands.empty()) << "Routelle.sdef is no scripting definition";
  std::set<std::string> defined;
  for (const auto& [cls, command] : commands) defined.insert(cls);
  const auto& known = routelle::scriptCommandClassNames();
  EXPECT_EQ(defined, std::set<std::string>(known.begin(), known.end()));
}

TEST(ScriptingDefinition, DeliversTheArgumentKeysEachClassReads) {
  const std::map<std::string, std::set<std::string>> expected{
      {"AddDomainScriptCommand", {"", "FilePath", "Profile"}},
      {"ShowBrowsersListCommandScript", {}},
      {"AddAppScriptCommand", {"", "FilePath", "Profile"}},
      {"SaveScriptCommand", {"BrowserName"}},
      {"BackModifierKeyScriptCommand", {"", "FilePath"}},
      {"RemoveBrowserScriptCommand", {""}},
      {"RemoveRuleScriptCommand", {""}},
      {"ModifierKeyScriptCommand", {"", "FilePath", "Profile"}},
      {"ChangePriorityScriptCommand", {"FilePath"}},
      {"EnablePreferenceScriptCommand", {""}},
      {"DisablePreferenceScriptCommand", {""}},
      {"CheckForUpdatesCommandScript", {}},
      {"UseTheOpenedBrowser", {}},
      {"ImportCommandScript", {"FilePath"}},
      {"AddBrowserScriptCommand", {""}},
      {"ExportCommandScript", {"FilePath"}},
  };
  const auto commands = commandsByClass();
  for (const auto& [cls, keys] : expected) {
    auto it = commands.find(cls);
    ASSERT_NE(it, commands.end()) << cls;
    EXPECT_EQ(keysOf(it->second), keys) << cls;
  }
}

// The driver refuses a parameter the definition would not deliver.
TEST(ScriptingDefinition, TheDriverKnowsTheKeysItDelivers) {
  for (const auto& [cls, command] : commandsByClass()) {
    const auto known = routelle::scriptParameterKeys(cls);
    EXPECT_EQ(keysOf(command), std::set<std::string>(known.begin(), known.end())) << cls;
  }
}

TEST(ScriptingDefinition, BooleansAreDeclaredWhereTheCommandsReadThem) {
  for (const auto& [cls, command] : commandsByClass())
    for (const auto& p : command.parameters)
      EXPECT_EQ(p.type == "boolean", routelle::isBooleanScriptParameter(cls, p.key)) << cls << " \"" << p.key << "\"";
}

TEST(ScriptingDefinition, CodesAreWellFormedAndCommandsDistinct) {
  std::set<std::string> codes;
  for (const auto& [cls, command] : commandsByClass()) {
    EXPECT_EQ(command.code.size(), 8u) << cls;
    EXPECT_TRUE(codes.insert(command.code).second) << "two commands share " << command.code;
    std::set<std::string> parameterCodes;
    for (const auto& p : command.parameters) {
      if (p.key.empty()) continue;
      EXPECT_EQ(p.code.size(), 4u) << cls << " " << p.key;
      EXPECT_TRUE(parameterCodes.insert(p.code).second) << cls << " repeats " << p.code;
    }
  }
}

}  // namespace
