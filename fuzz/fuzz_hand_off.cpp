// The running desktop program reads links from its socket: any bytes, arriving in
// any pieces, give a link, "wait for more" or a refusal, and a message the
// launcher writes always reads back as the link it holds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "HandOff.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace routelle::desktop;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  HandedLink read;
  // Every prefix, as the socket may hand the message over piece by piece.
  for (std::size_t end = 0; end <= bytes.size(); end += 1 + end / 8)
    if (readHandOffMessage(bytes.substr(0, end), read) == MessageState::complete && read.link.size() > end)
      std::abort();

  const HandedLink sent{bytes, static_cast<int>(size)};
  HandedLink received;
  if (readHandOffMessage(handOffMessage(sent), received) != MessageState::complete || received.link != sent.link ||
      received.requester != sent.requester)
    std::abort();
  return 0;
}
