#include "platform/host/AppInstaller.h"

#include <plist/plist.h>

#include <fstream>

namespace fs = std::filesystem;

namespace routelle {
namespace {

std::string shellQuoted(const std::string& s) {
  std::string out = "'";
  for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

// A one-entry list of type declarations: [{key: [values...]}].
plist_t declarations(const char* key, const std::vector<std::string>& values) {
  plist_t list = plist_new_array();
  for (const auto& v : values) plist_array_append_item(list, plist_new_string(v.c_str()));
  plist_t type = plist_new_dict();
  plist_dict_set_item(type, key, list);
  plist_t types = plist_new_array();
  plist_array_append_item(types, type);
  return types;
}

std::string infoPlist(const AppSpec& wanted, const std::string& executable) {
  plist_t dict = plist_new_dict();
  if (!wanted.identifier.empty())
    plist_dict_set_item(dict, "CFBundleIdentifier", plist_new_string(wanted.identifier.c_str()));
  plist_dict_set_item(dict, "CFBundleName", plist_new_string(wanted.name.c_str()));
  plist_dict_set_item(dict, "CFBundleExecutable", plist_new_string(executable.c_str()));
  plist_dict_set_item(dict, "CFBundleVersion", plist_new_string("1.0"));
  if (!wanted.urlSchemes.empty())
    plist_dict_set_item(dict, "CFBundleURLTypes", declarations("CFBundleURLSchemes", wanted.urlSchemes));
  if (!wanted.documentExtensions.empty())
    plist_dict_set_item(dict, "CFBundleDocumentTypes",
                        declarations("CFBundleTypeExtensions", wanted.documentExtensions));
  char* out = nullptr;
  uint32_t length = 0;
  if (wanted.binaryInfoPlist)
    plist_to_bin(dict, &out, &length);
  else
    plist_to_xml(dict, &out, &length);
  std::string bytes(out ? out : "", length);
  free(out);
  plist_free(dict);
  return bytes;
}

}  // namespace

fs::path launchLog(const World& world) { return world.root() / "Library" / "Logs" / "launches.log"; }

fs::path installApplication(const World& world, const AppSpec& wanted) {
  fs::path bundle = world.hostPath(wanted.folder) / (wanted.name + ".app");
  fs::create_directories(bundle / "Contents" / "MacOS");
  fs::create_directories(launchLog(world).parent_path());
  std::ofstream(bundle / "Contents" / "Info.plist", std::ios::binary) << infoPlist(wanted, wanted.executable);

  const fs::path exe = bundle / "Contents" / "MacOS" / wanted.executable;
  {
    std::ofstream script(exe);
    script << "#!/bin/sh\n";
    if (!wanted.executableScript.empty()) {
      script << wanted.executableScript;
    } else {
      // One append per start, so that starts running at once never interleave.
      script << "line=" << shellQuoted(wanted.name) << "\n"
             << "[ \"$OPEN_BACKGROUND\" = 1 ] && line=\"$line (background)\"\n"
             << "for a in \"$@\"; do line=\"$line $a\"; done\n"
             << "printf '%s\\n' \"$line\" >> \"$ROUTELLE_WORLD/Library/Logs/launches.log\"\n";
    }
  }
  fs::permissions(exe, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec | fs::perms::others_read |
                           fs::perms::others_exec);
  World::noteApplicationsChanged();
  return bundle;
}

void removeApplication(const World& world, const std::string& platformPath) {
  std::error_code ec;
  fs::remove_all(world.hostPath(platformPath), ec);
  World::noteApplicationsChanged();
}

}  // namespace routelle
