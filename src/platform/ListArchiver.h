#pragma once
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Defaults.h"

namespace routelle {

// Texts viewed where they lie: in the archive's bytes, or in strings kept
// beside them. `keeper` keeps both alive.
struct SharedTexts {
  std::shared_ptr<const void> keeper;
  std::span<const std::string_view> texts;
};

// Keyed archive of an array of strings, in the platform's archiver format.
class ListArchiver {
 public:
  virtual ~ListArchiver() = default;
  virtual Bytes archive(const std::vector<std::string>& list) const = 0;
  // Nothing when the data is not an archived array of strings.
  virtual std::optional<std::vector<std::string>> unarchive(std::span<const std::uint8_t> data) const = 0;
  // The same list without a string of its own per text where the archive can
  // be read in place: a list of ten thousand rules holds 20,001 texts.
  virtual std::optional<SharedTexts> unarchiveShared(const SharedData& data) const {
    auto list = unarchive(data.bytes);
    if (!list) return std::nullopt;
    return viewsOf(std::move(*list));
  }

  // Views of texts that are kept with them.
  static SharedTexts viewsOf(std::vector<std::string> list) {
    struct Kept {
      std::vector<std::string> texts;
      std::vector<std::string_view> views;
    };
    auto kept = std::make_shared<Kept>();
    kept->texts = std::move(list);
    kept->views.assign(kept->texts.begin(), kept->texts.end());
    const std::span<const std::string_view> views(kept->views);
    return SharedTexts{std::move(kept), views};
  }
};

}  // namespace routelle
