#pragma once
#include <memory>
#include <string>
#include <vector>

#include "HostSystem.h"
#include "platform/host/AppInstaller.h"
#include "support/TempDir.h"

namespace routelle::test {

// A host world in a temporary directory with the core wired to it.
class TestWorld {
 public:
  TestWorld();
  const std::filesystem::path& root() const { return dir_.path(); }
  HostSystem& system() { return *system_; }
  // A fresh core over the same files, as a second run of the program sees them.
  std::unique_ptr<HostSystem> reopen() const { return std::make_unique<HostSystem>(root()); }

  std::filesystem::path install(const std::string& name, const std::string& identifier,
                                const std::string& folder = "/Applications");
  // Safari, Firefox, Google Chrome and Mail with their usual identifiers.
  void installCommonApps();

 private:
  TempDir dir_;
  std::unique_ptr<HostSystem> system_;
};

// Runs the host driver with the arguments; captures its status and output.
struct DriverRun {
  int status = -1;
  std::string out;
  std::string err;
  std::string lastLine() const;
};
DriverRun runDriver(const std::vector<std::string>& args);

}  // namespace routelle::test
