#include "support/TestWorld.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>

namespace routelle::test {

TestWorld::TestWorld() : system_(std::make_unique<HostSystem>(dir_.path())) {}

std::filesystem::path TestWorld::install(const std::string& name, const std::string& identifier,
                                         const std::string& folder) {
  AppSpec wanted;
  wanted.name = name;
  wanted.identifier = identifier;
  wanted.folder = folder;
  return installApplication(system_->world, wanted);
}

void TestWorld::installCommonApps() {
  install("Safari", "com.apple.Safari");
  install("Firefox", "org.mozilla.firefox");
  install("Google Chrome", "com.google.Chrome");
  install("Mail", "com.apple.mail");
}

std::string DriverRun::lastLine() const {
  std::string s = out;
  while (!s.empty() && s.back() == '\n') s.pop_back();
  auto nl = s.rfind('\n');
  return nl == std::string::npos ? s : s.substr(nl + 1);
}

namespace {
std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}
}  // namespace

DriverRun runDriver(const std::vector<std::string>& args) {
  TempDir io;
  const std::string outPath = (io.path() / "out").string();
  const std::string errPath = (io.path() / "err").string();
  std::vector<char*> argv;
  std::string driver = ROUTELLE_DRIVER;
  argv.push_back(driver.data());
  std::vector<std::string> copies = args;
  for (auto& a : copies) argv.push_back(a.data());
  argv.push_back(nullptr);

  DriverRun run;
  pid_t pid = fork();
  if (pid == 0) {
    int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    int in = open("/dev/null", O_RDONLY);
    if (out < 0 || err < 0 || in < 0) _exit(127);
    dup2(out, 1);
    dup2(err, 2);
    dup2(in, 0);
    execv(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  if (pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status)) run.status = WEXITSTATUS(status);
  run.out = slurp(outPath);
  run.err = slurp(errPath);
  return run;
}

}  // namespace routelle::test
