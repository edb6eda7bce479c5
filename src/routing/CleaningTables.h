#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace routelle {

// Entries are short: a longer line is not one of ours.
inline constexpr std::size_t kMaxCleaningLine = 1024;

// A redirect service whose link carries its destination in a query parameter.
struct UnwrapEntry {
  std::string host;  // "name", "*.name" (name and below) or "name.*" (name under a top-level domain)
  std::string path;  // "*" is any path
  std::vector<std::string> parameters;
  std::string line;  // as written, to say which entry changed a link
};

// A tracking parameter; a prefix entry ("utm_*") names every parameter starting so.
struct StripEntry {
  std::string name;
  bool prefix = false;
  std::string line;
};

// The entries that say how links are cleaned, read from lines of text (the
// shipped file, the user's additions). Lines that do not read as an entry are
// skipped, so a damaged line never stops the others.
class CleaningTables {
 public:
  void addLines(std::string_view text);
  void addLine(std::string_view line);

  const UnwrapEntry* unwrapEntryFor(std::string_view host, std::string_view path) const;
  const StripEntry* stripEntryFor(std::string_view parameterName) const;
  bool empty() const { return unwrap_.empty() && strip_.empty(); }

 private:
  std::vector<UnwrapEntry> unwrap_;
  std::vector<StripEntry> strip_;
};

// The file shipped with the program ("LinkCleaning.txt"), as built in.
std::string_view shippedLinkCleaning();

}  // namespace routelle
