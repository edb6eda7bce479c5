#pragma once
#include <filesystem>
#include <map>
#include <string>

namespace routelle::test {

// Every regular file under the world's Library (preferences, default handlers,
// updater state) with its bytes, lock files aside: equal snapshots mean
// nothing was written.
using WorldSnapshot = std::map<std::string, std::string>;
WorldSnapshot snapshotLibrary(const std::filesystem::path& root);

}  // namespace routelle::test
