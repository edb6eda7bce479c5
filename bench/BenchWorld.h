#pragma once
// A temporary host world with the whole program, for the benchmarks.
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "HostApp.h"
#include "platform/host/AppInstaller.h"

namespace routelle::bench {

// Stops at the launcher: counts the calls instead of starting anything.
class CountingLauncher final : public ProcessLauncher {
 public:
  std::optional<int> runAndWait(const std::string&, const std::vector<std::string>&) override {
    ++runs;
    return 0;
  }
  bool start(const std::string&, const std::vector<std::string>&) override { return true; }
  long runs = 0;
};

struct BenchWorld {
  BenchWorld() {
    std::string pattern = (std::filesystem::temp_directory_path() / "routelle-bench-XXXXXX").string();
    root = mkdtemp(pattern.data());
    app = std::make_unique<HostApp>(root);
  }
  ~BenchWorld() {
    app.reset();
    std::filesystem::remove_all(root);
  }

  void install(const std::string& name, const std::string& identifier) {
    AppSpec wanted;
    wanted.name = name;
    wanted.identifier = identifier;
    installApplication(app->system.world, wanted);
  }

  // Domain rules site<i>.example.com and per-application rules App<i>.
  void storeRules(int domainRules, int appRules) {
    std::vector<std::string> domains{""};
    for (int i = 0; i < domainRules; ++i) {
      domains.push_back("site" + std::to_string(i) + ".example.com");
      domains.push_back(i % 2 ? "Firefox" : "Safari");
    }
    app->system.settings.setList("domains", domains);
    std::vector<std::string> perApp{""};
    for (int i = 0; i < appRules; ++i) perApp.push_back("Safari/*/*/*/*/App" + std::to_string(i));
    app->system.settings.setList("perApp", perApp);
    app->system.settings.setString("onion", "TorBrowser");
    for (const char* key : {"shift", "ctrl", "alt", "command"}) app->system.settings.setString(key, "Firefox");
  }

  std::filesystem::path root;
  std::unique_ptr<HostApp> app;
};

}  // namespace routelle::bench
