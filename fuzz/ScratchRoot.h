#pragma once
// A temporary world for a fuzz target, removed when the fuzzer exits; in
// memory (/dev/shm) where there is one, since every input writes to it.
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace fuzzing {

struct ScratchRoot {
  explicit ScratchRoot(const std::string& name) {
    namespace fs = std::filesystem;
    const fs::path base = fs::exists("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
    std::string pattern = (base / ("routelle-fuzz-" + name + "-XXXXXX")).string();
    if (!mkdtemp(pattern.data())) std::abort();
    path = pattern;
  }
  ~ScratchRoot() {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
  }
  ScratchRoot(const ScratchRoot&) = delete;
  ScratchRoot& operator=(const ScratchRoot&) = delete;
  std::filesystem::path path;
};

}  // namespace fuzzing
