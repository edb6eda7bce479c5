#include "support/TempDir.h"

#include <stdlib.h>

#include <string>
#include <system_error>

namespace routelle::test {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "routelle-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::system_error(errno, std::generic_category(), "mkdtemp");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

}  // namespace routelle::test
