#pragma once
#include "platform/LinkDetector.h"

struct psl_ctx_st;

namespace routelle {

// Link detection of the host world. Finds URLs with an http, https or ftp scheme
// (any case), "mailto:" and plain e-mail addresses, "www." hosts and bare host
// names whose last label is a top-level domain of the public suffix list built
// into libpsl ("example.com" yes; "file.txt", "foo.invalid", "localhost" no).
// A text longer than 2 GiB has no links.
class HostLinkDetector final : public LinkDetector {
 public:
  HostLinkDetector();
  std::vector<LinkMatch> findLinks(std::string_view text) const override;

 private:
  const psl_ctx_st* suffixes_;  // libpsl's built-in list, owned by the library
};

}  // namespace routelle
