// "profiles BROWSER [DIRECTORY=NAME]...": lays out the browser's own list of
// profiles in the world, as the browser writes it, then prints what the
// program discovers from it.
#include <nlohmann/json.hpp>
#include <ostream>

#include "Driver.h"
#include "platform/host/HostFileManager.h"
#include "settings/BrowserProfiles.h"

namespace routelle::driver {
namespace {

std::string chromiumLocalState(const std::vector<std::pair<std::string, std::string>>& profiles) {
  nlohmann::json cache = nlohmann::json::object();
  for (const auto& [directory, name] : profiles) cache[directory] = {{"name", name}, {"is_using_default_name", false}};
  nlohmann::json state = {{"browser", {{"enabled_labs_experiments", nlohmann::json::array()}}},
                          {"profile", {{"info_cache", cache}, {"last_used", profiles.front().first}}}};
  return state.dump(3) + "\n";
}

std::string firefoxProfilesIni(const std::vector<std::pair<std::string, std::string>>& profiles) {
  std::string ini = "[General]\nStartWithLastProfile=1\nVersion=2\n";
  for (size_t i = 0; i < profiles.size(); ++i) {
    const auto& [path, name] = profiles[i];
    const bool absolute = path.starts_with('/');
    ini += "\n[Profile" + std::to_string(i) + "]\nName=" + name + "\nIsRelative=" + (absolute ? "0" : "1") +
           "\nPath=" + path + "\n";
    if (i == 0) ini += "Default=1\n";
  }
  return ini;
}

}  // namespace

int runProfiles(const Invocation& inv, const ProfilesRequest& request, std::ostream& out) {
  const World world(inv.root);
  HostFileManager files(world);
  BrowserProfiles profiles(files);
  const auto home = profiles.homeOf(request.browser);
  if (!home) throw UsageError("\"" + request.browser + "\" keeps no profiles the program knows of");
  if (!request.layOut.empty()) {
    std::vector<std::pair<std::string, std::string>> given;
    for (const auto& pair : request.layOut) {
      const size_t equals = pair.find('=');
      if (equals == std::string::npos || equals == 0 || equals + 1 == pair.size())
        throw UsageError("not DIRECTORY=NAME: \"" + pair + "\"");
      given.emplace_back(pair.substr(0, equals), pair.substr(equals + 1));
    }
    const std::string file = *profiles.listFile(request.browser);
    const std::string folder = file.substr(0, file.rfind('/'));
    std::error_code ec;
    for (const auto& [directory, name] : given)
      std::filesystem::create_directories(
          world.hostPath(directory.starts_with('/') ? directory : folder + "/" + directory), ec);
    const bool chromium = home->family == ProfileFamily::chromium;
    if (!files.writeFile(file, chromium ? chromiumLocalState(given) : firefoxProfilesIni(given)))
      throw UsageError("cannot write " + file);
  }
  for (const auto& p : profiles.profilesOf(request.browser))
    out << request.browser << kProfileSeparator << p.name << "\t" << p.directory << "\n";
  return 0;
}

}  // namespace routelle::driver
