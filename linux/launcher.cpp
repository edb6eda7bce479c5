// routelle-desktop: hands a link to the running program, or starts the whole
// program (routelle-desktop-app, beside it) with the same arguments. Links that
// reach a running program go through nothing heavier than this.
#include <unistd.h>

#include <cstdio>
#include <string>

#include "HandOff.h"

int main(int argc, char** argv) {
  using namespace routelle::desktop;
  // One link, or nothing: what the running program can take. Anything else
  // (--install, script ...) is the whole program's.
  const bool link =
      argc == 2 && argv[1][0] != '-' && std::string(argv[1]) != "script" && std::string(argv[1]) != "explain";
  if ((argc == 1 || link) && handToRunningInstance({link ? argv[1] : "", static_cast<int>(getppid())})) return 0;

  char self[4096];
  const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  if (n <= 0) return 1;
  self[n] = '\0';
  std::string program(self);
  program = program.substr(0, program.rfind('/') + 1) + "routelle-desktop-app";
  argv[0] = program.data();
  execv(program.c_str(), argv);
  std::perror(program.c_str());
  return 1;
}
