#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace routelle::hostplist {

// What an XML property list's elements would cost before libplist builds them:
// libplist gives each element a node of about a hundred bytes, so a document
// of millions of tiny or unclosed elements costs many times its size. A quick
// pass over the tags (comments, CDATA, processing instructions and the
// document type skipped; quoted attribute values may hold '>') counts how deep
// elements nest and how many there are.
struct XmlShape {
  unsigned maxDepth = 0;
  std::uint64_t elements = 0;
};
XmlShape measureXmlShape(std::string_view xml);

// Why an XML document of that shape is not read, or nothing when it may be.
// Elements nest at most `maxContainerDepth` containers deep inside the plist
// element, around a leaf element.
std::optional<std::string> xmlShapeRefusal(const XmlShape& shape, std::size_t size, unsigned maxContainerDepth);

}  // namespace routelle::hostplist
