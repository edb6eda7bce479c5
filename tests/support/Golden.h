#pragma once
#include <filesystem>
#include <string>

namespace routelle::test {

// Compares output with a reviewed file; ROUTELLE_UPDATE_GOLDEN=1 rewrites the
// file instead, for review in the diff.
void expectMatchesGolden(const std::string& actual, const std::filesystem::path& file);

}  // namespace routelle::test
