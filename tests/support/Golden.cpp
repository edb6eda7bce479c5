#include "support/Golden.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace routelle::test {

void expectMatchesGolden(const std::string& actual, const std::filesystem::path& file) {
  if (const char* update = std::getenv("ROUTELLE_UPDATE_GOLDEN"); update && *update == '1') {
    std::ofstream(file, std::ios::binary) << actual;
    return;
  }
  ASSERT_TRUE(std::filesystem::exists(file)) << file << " is missing; regenerate with ROUTELLE_UPDATE_GOLDEN=1";
  std::stringstream golden;
  golden << std::ifstream(file, std::ios::binary).rdbuf();
  EXPECT_EQ(actual, golden.str()) << "differs from " << file;
}

}  // namespace routelle::test
