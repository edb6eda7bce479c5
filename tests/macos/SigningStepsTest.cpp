// How the Mac build signs the bundle, read from its build files: the Share extension
// runs only when signed with its entitlements (it must be sandboxed), and signing the
// application with --deep, or before the extension, would sign it again without them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

const std::filesystem::path kSource = ROUTELLE_SOURCE_DIR;

// The lines of a build file that are not comments, with each continuation joined to
// the command it belongs to.
std::vector<std::string> commandLines(const std::filesystem::path& file) {
  std::ifstream in(file);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    const auto first = line.find_first_not_of(" \t");
    if (first == std::string::npos || line[first] == '#') continue;
    const bool continues = line.find("COMMAND") == std::string::npos && !lines.empty() && first > 4;
    if (continues)
      lines.back() += " " + line.substr(first);
    else
      lines.push_back(line.substr(first));
  }
  return lines;
}

struct Signing {
  std::string command;
  std::size_t order;
};

std::vector<Signing> signingSteps(const std::filesystem::path& file) {
  std::vector<Signing> steps;
  const auto lines = commandLines(file);
  for (std::size_t i = 0; i < lines.size(); ++i)
    if (lines[i].find("codesign --force") != std::string::npos) steps.push_back({lines[i], i});
  return steps;
}

TEST(SigningSteps, NeverSignDeep) {
  int signings = 0;
  for (const char* file : {"macos/CMakeLists.txt", "scripts/build-macos.sh", "src/platform/macos/CMakeLists.txt"}) {
    for (const auto& line : commandLines(kSource / file)) {
      if (line.find("codesign") == std::string::npos || line.find("--sign") == std::string::npos) continue;
      EXPECT_EQ(line.find("--deep"), std::string::npos) << file << ": " << line;
      ++signings;
    }
  }
  EXPECT_GT(signings, 0);
}

TEST(SigningSteps, SignTheExtensionWithItsEntitlementsThenTheApplication) {
  const auto steps = signingSteps(kSource / "macos/CMakeLists.txt");
  ASSERT_EQ(steps.size(), 2u) << "one signing of the extension, one of the application";
  const Signing& extension = steps[0];
  const Signing& application = steps[1];
  EXPECT_NE(extension.command.find("--entitlements"), std::string::npos) << extension.command;
  EXPECT_NE(extension.command.find("OpenWithRoutelle.entitlements"), std::string::npos) << extension.command;
  // The copy inside the application is the one signed, not the build's own.
  EXPECT_NE(extension.command.find("embedded_extension"), std::string::npos) << extension.command;
  EXPECT_NE(application.command.find("TARGET_BUNDLE_DIR:Routelle>"), std::string::npos) << application.command;
  EXPECT_EQ(application.command.find("--entitlements"), std::string::npos) << application.command;
  EXPECT_LT(extension.order, application.order);
}

TEST(SigningSteps, TheBuildScriptChecksTheExtensionKeptItsSandbox) {
  std::ifstream in(kSource / "scripts/build-macos.sh");
  const std::string script((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_NE(script.find("codesign -d --entitlements -"), std::string::npos);
  EXPECT_NE(script.find("com.apple.security.app-sandbox"), std::string::npos);
  EXPECT_NE(script.find("otool -L"), std::string::npos);
}

}  // namespace
