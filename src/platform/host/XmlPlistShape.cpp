#include "platform/host/XmlPlistShape.h"

#include <algorithm>

namespace routelle::hostplist {
namespace {

// Where `end` closes what starts at `from`; npos when it never does.
std::size_t after(std::string_view xml, std::size_t from, std::string_view end) {
  const std::size_t at = xml.find(end, from);
  return at == std::string_view::npos ? at : at + end.size();
}

// The end of a tag's '>' outside quoted attribute values; npos when it never closes.
std::size_t tagEnd(std::string_view xml, std::size_t from) {
  char quote = 0;
  for (std::size_t i = from; i < xml.size(); ++i) {
    const char c = xml[i];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == '>') {
      return i + 1;
    }
  }
  return std::string_view::npos;
}

// A document type may hold an internal subset in brackets, with '>' inside.
std::size_t doctypeEnd(std::string_view xml, std::size_t from) {
  int brackets = 0;
  char quote = 0;
  for (std::size_t i = from; i < xml.size(); ++i) {
    const char c = xml[i];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == '[') {
      ++brackets;
    } else if (c == ']') {
      brackets = std::max(0, brackets - 1);
    } else if (c == '>' && brackets == 0) {
      return i + 1;
    }
  }
  return std::string_view::npos;
}

// Roughly what libplist 2.2 holds per node (its node, its data, their
// allocations), measured: 800,000 "<true/>" cost 85 MB.
constexpr std::uint64_t kBytesPerNode = 128;
// Small documents are read whatever their shape: this many nodes cost little.
constexpr std::uint64_t kNodesAlwaysRead = 65536;

}  // namespace

XmlShape measureXmlShape(std::string_view xml) {
  XmlShape shape;
  unsigned depth = 0;
  std::size_t at = xml.find('<');
  while (at != std::string_view::npos && at + 1 < xml.size()) {
    const std::string_view rest = xml.substr(at);
    std::size_t next;
    if (rest.starts_with("<?")) {
      next = after(xml, at + 2, "?>");
    } else if (rest.starts_with("<!--")) {
      next = after(xml, at + 4, "-->");
    } else if (rest.starts_with("<![CDATA[")) {
      next = after(xml, at + 9, "]]>");
    } else if (rest.starts_with("<!")) {
      next = doctypeEnd(xml, at + 2);
    } else if (rest.starts_with("</")) {
      next = tagEnd(xml, at + 2);
      if (depth > 0) --depth;
    } else {
      next = tagEnd(xml, at + 1);
      ++shape.elements;
      const bool empty = next != std::string_view::npos && next >= 2 && xml[next - 2] == '/';
      if (!empty) shape.maxDepth = std::max(shape.maxDepth, ++depth);
    }
    if (next == std::string_view::npos) break;  // unterminated: libplist refuses it
    at = xml.find('<', next);
  }
  return shape;
}

std::optional<std::string> xmlShapeRefusal(const XmlShape& shape, std::size_t size, unsigned maxContainerDepth) {
  // The plist element and a leaf inside the deepest container.
  if (shape.maxDepth > maxContainerDepth + 2)
    return "its elements nest " + std::to_string(shape.maxDepth) + " deep, more than " +
           std::to_string(maxContainerDepth) + " containers";
  // Read, the document may cost at most four times its size: its bytes, and its nodes.
  const std::uint64_t maxNodes = std::uint64_t{3} * size / kBytesPerNode + kNodesAlwaysRead;
  if (shape.elements > maxNodes)
    return "it holds " + std::to_string(shape.elements) + " elements, more than " + std::to_string(maxNodes) +
           " for its size";
  return std::nullopt;
}

}  // namespace routelle::hostplist
