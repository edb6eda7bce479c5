#include "support/WorldSnapshot.h"

#include <fstream>
#include <iterator>

namespace routelle::test {

WorldSnapshot snapshotLibrary(const std::filesystem::path& root) {
  WorldSnapshot out;
  std::error_code ec;
  for (std::filesystem::recursive_directory_iterator it(root / "Library", ec), end; !ec && it != end;
       it.increment(ec)) {
    // Lock files are how writers take turns, not content.
    if (!it->is_regular_file() || it->path().extension() == ".lock") continue;
    std::ifstream in(it->path(), std::ios::binary);
    out[it->path().lexically_relative(root).string()] =
        std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  return out;
}

}  // namespace routelle::test
