#include "exchange/RuleFileWriter.h"

#include "exchange/RuleFileReader.h"

#include <libxml/xmlwriter.h>

#include <cstdint>
#include <memory>
#include <string_view>
#include <utility>

#include "support/Text.h"

namespace routelle {
namespace {

// The characters XML 1.0 allows in a document, even as character references.
bool isXmlChar(std::int32_t c) {
  return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
         (c >= 0x10000 && c <= 0x10FFFF);
}

// Text a rule file can carry and read back.
bool isRuleText(std::string_view text) {
  if (text.size() > kRuleTextMaxBytes) return false;
  for (std::size_t at = 0; at < text.size();) {
    const std::int32_t c = text::nextCodePoint(text, at);  // negative for ill-formed UTF-8, surrogates included
    if (c < 0 || !isXmlChar(c)) return false;
  }
  return true;
}

const xmlChar* xml(const char* text) { return reinterpret_cast<const xmlChar*>(text); }

class DocumentWriter {
 public:
  DocumentWriter(DocumentWriter&&) = delete;  // the library holds the address of the text
  // Written straight into a string, which grows geometrically: the library's
  // memory buffer grows by what each write needs, copying the whole document
  // again and again once it is large.
  DocumentWriter() : writer_(nullptr, xmlFreeTextWriter) {
    if (xmlOutputBufferPtr output = xmlOutputBufferCreateIO(append, nullptr, &text_, nullptr)) {
      writer_.reset(xmlNewTextWriter(output));
      if (!writer_) xmlOutputBufferClose(output);
    }
    // Two-space indentation, one element per line: stable and easy to read in a diff.
    ok_ = writer_ && xmlTextWriterSetIndent(writer_.get(), 1) >= 0 &&
          xmlTextWriterSetIndentString(writer_.get(), xml("  ")) >= 0;
  }

  void startDocument() { check(xmlTextWriterStartDocument(writer_.get(), "1.0", "UTF-8", nullptr)); }
  void start(const char* name) { check(xmlTextWriterStartElement(writer_.get(), xml(name))); }
  // Elements without children close in the short form, "<apps/>".
  void end() { check(xmlTextWriterEndElement(writer_.get())); }
  void attribute(const char* name, const std::string& value) {
    check(xmlTextWriterWriteAttribute(writer_.get(), xml(name), xml(value.c_str())));
  }

  std::optional<std::string> finish() {
    check(xmlTextWriterEndDocument(writer_.get()));
    check(xmlTextWriterFlush(writer_.get()));
    if (!ok_) return std::nullopt;
    return std::move(text_);
  }

  bool ok() const { return ok_; }

 private:
  void check(int result) { ok_ = ok_ && result >= 0; }

  static int append(void* text, const char* bytes, int length) {
    static_cast<std::string*>(text)->append(bytes, static_cast<std::size_t>(length));
    return length;
  }

  std::string text_;  // before the writer, which flushes into it as it closes
  std::unique_ptr<xmlTextWriter, void (*)(xmlTextWriterPtr)> writer_;
  bool ok_ = false;
};

}  // namespace

std::optional<RuleFileText> writeRuleFile(std::span<const DomainRule> domains, std::span<const AppRule> apps,
                                          const RuleProfileLookup& profileOf) {
  auto profileAttribute = [&](DocumentWriter& out, bool domainRule, const std::string& first,
                              const std::string& browser) {
    if (!profileOf) return;
    const std::string profile = profileOf(domainRule, first, browser);
    if (!profile.empty() && isRuleText(profile)) out.attribute("profile", profile);
  };
  DocumentWriter out;
  if (!out.ok()) return std::nullopt;
  RuleFileText result;

  out.startDocument();
  out.start("lists");
  out.start("domains");
  for (const DomainRule& rule : domains) {
    if (!isRuleText(rule.domain) || !isRuleText(rule.browser)) {
      ++result.leftOut;
      continue;
    }
    out.start("domain");
    out.attribute("site", rule.domain);
    out.attribute("browser", rule.browser);
    profileAttribute(out, true, rule.domain, rule.browser);
    out.end();
  }
  out.end();
  out.start("apps");
  for (const AppRule& rule : apps) {
    if (!isRuleText(rule.application) || !isRuleText(rule.browser)) {
      ++result.leftOut;
      continue;
    }
    out.start("app");
    out.attribute("app", rule.application);
    out.attribute("browser", rule.browser);
    profileAttribute(out, false, rule.application, rule.browser);
    out.end();
  }
  out.end();
  out.end();

  auto document = out.finish();
  if (!document) return std::nullopt;
  result.document = std::move(*document);
  return result;
}

}  // namespace routelle
