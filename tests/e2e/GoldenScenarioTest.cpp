// Whole outputs of the driver (menus, transcripts, stored settings) compared with
// reviewed files. A scenario tests/golden/NAME.scenario holds driver command
// lines run in order against one fresh world; their output is compared with
// NAME.out. Regenerate every expected file after a reviewed change with
//   ROUTELLE_UPDATE_GOLDEN=1 build/dev/tests/routelle_tests --gtest_filter='Golden*'
// and read the diff before committing it.
//
// Scenario lines:
//   ARGUMENTS                  a driver call, quoted as in a shell; its output,
//                              error output and a non-zero status are recorded
//     (indented lines)         standard input of the call above (for "run -")
//   ! SHELL COMMAND            run in the world's root with $ROUTELLE the driver; not recorded
//   $ SHELL COMMAND            the same, recorded with its output (a file of the world...)
//   # comment                  ignored
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "support/Golden.h"
#include "support/TempDir.h"

namespace routelle {
namespace {

namespace fs = std::filesystem;

std::string slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

struct Step {
  bool shell = false;
  bool recorded = true;
  std::string line;
  std::string input;
};

std::vector<Step> readScenario(const fs::path& path) {
  std::vector<Step> steps;
  std::istringstream in(slurp(path));
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line.starts_with("#")) continue;
    if (line.starts_with("  ") && !steps.empty())
      steps.back().input += line.substr(2) + "\n";
    else if (line.starts_with("! ") || line.starts_with("$ "))
      steps.push_back({true, line.starts_with("$ "), line.substr(2), {}});
    else
      steps.push_back({false, true, line, {}});
  }
  return steps;
}

std::string quoted(const std::string& s) {
  std::string out = "'";
  for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

int exitStatus(int status) { return WIFEXITED(status) ? WEXITSTATUS(status) : 128; }

// One step through the shell, so that a driver line reads as it would be typed.
std::string runStep(const Step& step, const fs::path& root, const fs::path& io) {
  const std::string driver = ROUTELLE_DRIVER;
  if (step.shell) {
    const std::string output = step.recorded ? quoted((io / "out").string()) : std::string("/dev/null");
    const std::string command = "cd " + quoted(root.string()) + " && ROUTELLE=" + quoted(driver) + " sh -c " +
                                quoted(step.line) + " >" + output + " 2>&1";
    EXPECT_EQ(exitStatus(std::system(command.c_str())), 0) << step.line;
    return step.recorded ? "$ " + step.line + "\n" + slurp(io / "out") + "\n" : std::string();
  }
  std::ofstream(io / "in") << step.input;
  const std::string command = quoted(driver) + " --root " + quoted(root.string()) + " " + step.line + " <" +
                              quoted((io / "in").string()) + " >" + quoted((io / "out").string()) + " 2>" +
                              quoted((io / "err").string());
  const int status = exitStatus(std::system(command.c_str()));
  std::string record = "$ routelle " + step.line + "\n";
  std::istringstream input(step.input);
  for (std::string line; std::getline(input, line);) record += "< " + line + "\n";
  record += slurp(io / "out");
  const std::string err = slurp(io / "err");
  std::istringstream errors(err);
  for (std::string line; std::getline(errors, line);) record += "stderr: " + line + "\n";
  if (status != 0) record += "(exit status " + std::to_string(status) + ")\n";
  return record + "\n";
}

class GoldenScenario : public ::testing::TestWithParam<std::string> {};

TEST_P(GoldenScenario, OutputMatchesTheReviewedFile) {
  const fs::path dir = ROUTELLE_GOLDEN_DIR;
  const fs::path scenario = dir / (GetParam() + ".scenario");
  const fs::path expectedFile = dir / (GetParam() + ".out");
  test::TempDir world;
  test::TempDir io;
  std::string actual;
  for (const auto& step : readScenario(scenario)) actual += runStep(step, world.path(), io.path());
  // Everything the world's applications were started with, sorted: detached
  // applications log in whatever order they get to run.
  const fs::path launches = world.path() / "Library" / "Logs" / "launches.log";
  if (fs::exists(launches)) {
    std::vector<std::string> lines;
    std::istringstream log(slurp(launches));
    for (std::string line; std::getline(log, line);) lines.push_back(line);
    std::sort(lines.begin(), lines.end());
    actual += "== launches.log (sorted)\n";
    for (const auto& line : lines) actual += line + "\n";
  }
  // The files the file browser was asked to show, in order.
  const fs::path shown = world.path() / "Library" / "Logs" / "finder.log";
  if (fs::exists(shown)) actual += "== finder.log\n" + slurp(shown);
  // What the program did with links handed back to it (Services, its own scheme).
  const fs::path handoffs = world.path() / "Library" / "Logs" / "handoffs.log";
  if (fs::exists(handoffs)) actual += "== handoffs.log\n" + slurp(handoffs);

  // Every script the program ran, with the application in front at the time.
  const fs::path scripts = world.path() / "Library" / "Logs" / "scripts.log";
  if (fs::exists(scripts)) actual += "== scripts.log\n" + slurp(scripts);

  // Messages that name a file of the world name it from the world's root.
  const std::string root = world.path().string();
  for (size_t at; (at = actual.find(root)) != std::string::npos;) actual.replace(at, root.size(), "$ROOT");
  test::expectMatchesGolden(actual, expectedFile);
}

std::vector<std::string> scenarioNames() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(ROUTELLE_GOLDEN_DIR))
    if (entry.path().extension() == ".scenario") names.push_back(entry.path().stem().string());
  std::sort(names.begin(), names.end());
  return names;
}

std::string testName(const ::testing::TestParamInfo<std::string>& info) {
  std::string name;
  for (char c : info.param) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  return name;
}

INSTANTIATE_TEST_SUITE_P(Golden, GoldenScenario, ::testing::ValuesIn(scenarioNames()), testName);

}  // namespace
}  // namespace routelle
