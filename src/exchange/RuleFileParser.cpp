#include "exchange/RuleFileParser.h"

#include <libxml/SAX2.h>
#include <libxml/parser.h>
#include <libxml/parserInternals.h>

#include <algorithm>
#include <cstring>
#include <exception>
#include <mutex>
#include <optional>
#include <string>
#include <utility>

#include "support/Text.h"

namespace routelle {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
// Slices handed to the parser at once, small enough that a start tag growing past
// its bound is seen before the parser works through it.
constexpr std::size_t kParseSlice = kRuleFileMaxTagBytes / 4;

// No network, no entity substitution, no DTD loading, defaulting or validation,
// no XInclude, no diagnostics of its own on standard error; and the declared
// encoding is ignored: the input is always read as UTF-8.
constexpr int kParseOptions = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_IGNORE_ENC;

bool named(const xmlChar* name, const char* expected) {
  return std::strcmp(reinterpret_cast<const char*>(name), expected) == 0;
}

std::string at(long line, std::string_view what) { return "line " + std::to_string(line) + ": " + std::string(what); }

RuleFileOutcome outcome(RuleFileEnd end, std::string message) { return {end, std::move(message)}; }

}  // namespace

struct RuleFileParser::State {
  explicit State(RuleFileHandlers h) : handlers(std::move(h)) {}

  const RuleFileHandlers handlers;
  std::unique_ptr<xmlParserCtxt, void (*)(xmlParserCtxtPtr)> context{nullptr, xmlFreeParserCtxt};
  std::string heldStart;  // the first bytes, until a byte order mark can be told
  std::size_t fed = 0;
  bool started = false;
  bool ended = false;
  int depth = 0;
  std::optional<RuleFileOutcome> stoppedEarly;  // a limit of ours; wins over what the parser says next
  std::optional<std::string> firstError;        // kept for when the parser finds the document not well-formed
  std::exception_ptr handlerFailure;

  void begin();

  void stop(RuleFileOutcome why) {
    if (!stoppedEarly) stoppedEarly = std::move(why);
    ended = true;
    xmlStopParser(context.get());
  }

  // Attribute values come with every '&' written as "&#38;", the parser's
  // convention when entities are left unsubstituted.
  static std::string attribute(const xmlChar** attributes, int count, const char* name) {
    for (int i = 0; i < count; ++i) {
      const xmlChar* const* a = attributes + std::ptrdiff_t{5} * i;  // local name, prefix, URI, value, value end
      if (a[1] != nullptr || !named(a[0], name)) continue;
      const std::string_view value(reinterpret_cast<const char*>(a[3]), static_cast<std::size_t>(a[4] - a[3]));
      return value.find('&') == std::string_view::npos ? std::string(value) : text::replaceAll(value, "&#38;", "&");
    }
    return {};
  }

  void element(const xmlChar* localName, const xmlChar* prefix, int count, const xmlChar** attributes) {
    if (++depth > kRuleFileMaxDepth) {
      stop(outcome(RuleFileEnd::tooDeep,
                   at(xmlSAX2GetLineNumber(context.get()),
                      "elements nested more than " + std::to_string(kRuleFileMaxDepth) + " deep")));
      return;
    }
    if (prefix != nullptr) return;  // "x:domain" is not "domain"
    const bool domain = named(localName, "domain");
    if (!domain && !named(localName, "app")) return;
    const std::string first = attribute(attributes, count, domain ? "site" : "app");
    const std::string browser = attribute(attributes, count, "browser");
    if (first.empty() || browser.empty()) return;
    if (first.size() > kRuleTextMaxBytes || browser.size() > kRuleTextMaxBytes) return;
    const auto& report = domain ? handlers.domainRule : handlers.appRule;
    if (report) report(first, browser);
    if (handlers.profile) {
      const std::string profile = attribute(attributes, count, "profile");
      if (!profile.empty() && profile.size() <= kRuleTextMaxBytes) handlers.profile(domain, first, browser, profile);
    }
  }

  static void onStart(void* user, const xmlChar* localName, const xmlChar* prefix, const xmlChar*, int, const xmlChar**,
                      int count, int, const xmlChar** attributes) {
    auto& self = *static_cast<State*>(user);
    try {
      self.element(localName, prefix, count, attributes);
    } catch (...) {
      self.handlerFailure = std::current_exception();
      self.ended = true;
      xmlStopParser(self.context.get());
    }
  }

  static void onEnd(void* user, const xmlChar*, const xmlChar*, const xmlChar*) { --static_cast<State*>(user)->depth; }

  // The parser announces a document type declaration before it reads the
  // declarations inside it: stopping here, no entity is ever defined.
  static void onDocumentType(void* user, const xmlChar*, const xmlChar*, const xmlChar*) {
    refuse(user, "a document type declaration");
  }
  static void onEntityDeclaration(void* user, const xmlChar*, int, const xmlChar*, const xmlChar*, xmlChar*) {
    refuse(user, "an entity declaration");
  }
  static void refuse(void* user, const std::string& what) {
    auto& self = *static_cast<State*>(user);
    self.stop(outcome(RuleFileEnd::unsupported,
                      at(xmlSAX2GetLineNumber(self.context.get()), what + ", which rule files never hold; not read")));
  }

  // A template, because the error's pointer type gained a const in later
  // versions of the library.
  template <typename ErrorPointer>
  static void onError(void* user, ErrorPointer error) {
    auto& self = *static_cast<State*>(user);
    // Namespace errors (an undeclared prefix) leave the document well-formed
    // XML, and names are compared as written anyway.
    if (error == nullptr || error->level == XML_ERR_WARNING || error->domain == XML_FROM_NAMESPACE) return;
    if (self.firstError) return;
    std::string message = error->message ? error->message : "unknown error";
    message = message.substr(0, message.find('\n'));
    self.firstError = at(error->line, "not well-formed XML: " + message);
  }

  bool create() {
    static std::once_flag initialised;
    std::call_once(initialised, xmlInitParser);
    xmlSAXHandler sax{};
    sax.initialized = XML_SAX2_MAGIC;
    sax.startElementNs = onStart;
    sax.endElementNs = onEnd;
    sax.serror = onError;
    sax.internalSubset = onDocumentType;
    sax.externalSubset = onDocumentType;
    sax.entityDecl = onEntityDeclaration;
    // Every other entity, DTD and resolver callback stays empty, so none of them
    // can fetch or expand anything.
    context.reset(xmlCreatePushParserCtxt(&sax, this, nullptr, 0, nullptr));
    if (!context) return false;
    xmlCtxtUseOptions(context.get(), kParseOptions);
    // Set outright: the defaults of these come from process-wide settings.
    context->replaceEntities = 0;
    context->loadsubset = 0;
    context->validate = 0;
    return xmlSwitchEncoding(context.get(), XML_CHAR_ENCODING_UTF8) == 0;
  }

  void push(std::string_view bytes, bool last) {
    do {
      const std::size_t size = std::min(bytes.size(), kParseSlice);
      const bool end = last && size == bytes.size();
      const int result = xmlParseChunk(context.get(), bytes.data(), static_cast<int>(size), end ? 1 : 0);
      if (handlerFailure) std::rethrow_exception(handlerFailure);
      // The result is also non-zero after errors the parser goes on from.
      if ((result != 0 && context->disableSAX) || stoppedEarly) ended = true;
      if (!ended && startTagTooLong()) {
        stop(outcome(RuleFileEnd::tooLarge,
                     at(xmlSAX2GetLineNumber(context.get()),
                        "a tag longer than " + std::to_string(kRuleFileMaxTagBytes >> 10) + " KiB")));
      }
      bytes.remove_prefix(size);
    } while (!bytes.empty() && !ended);
  }

  // The parser takes a start tag whole once its end has arrived, comparing its
  // attributes with each other in time that grows with the square of their
  // number: a tag still open past its bound is refused before it is taken.
  bool startTagTooLong() const {
    const xmlParserInputPtr input = context->input;
    return context->instate == XML_PARSER_START_TAG && input != nullptr && input->cur != nullptr &&
           input->end != nullptr && static_cast<std::size_t>(input->end - input->cur) > kRuleFileMaxTagBytes;
  }

  // The bytes up to the size bound go to the parser; past it, the reading stops.
  void pushCounted(std::string_view bytes) {
    const std::size_t room = kRuleFileMaxBytes - fed;
    const std::string_view passed = bytes.substr(0, std::min(bytes.size(), room));
    fed += passed.size();
    if (!passed.empty()) push(passed, false);
    if (passed.size() < bytes.size() && !ended) stop(RuleFileParser::tooLarge());
  }
};

RuleFileParser::RuleFileParser(RuleFileHandlers handlers) : state_(std::make_unique<State>(std::move(handlers))) {}

RuleFileParser::~RuleFileParser() = default;

RuleFileOutcome RuleFileParser::tooLarge() {
  return outcome(RuleFileEnd::tooLarge,
                 "larger than " + std::to_string(kRuleFileMaxBytes >> 20) + " MiB, the most a rule file may hold");
}

void RuleFileParser::State::begin() {
  started = true;
  if (!create()) {
    stoppedEarly = outcome(RuleFileEnd::unreadable, "the XML parser could not be started");
    ended = true;
    return;
  }
  // A byte order mark is allowed, but the parser skips it only when it guesses
  // the encoding itself, and here the encoding is fixed.
  std::string_view first = heldStart;
  if (first.starts_with(kByteOrderMark)) first.remove_prefix(kByteOrderMark.size());
  pushCounted(first);
  heldStart.clear();
}

bool RuleFileParser::feed(std::string_view bytes) {
  State& s = *state_;
  if (s.ended) return false;
  if (!s.started) {
    // Only as many bytes as a byte order mark takes are held, never the document.
    const std::size_t held = std::min(bytes.size(), kByteOrderMark.size() - s.heldStart.size());
    s.heldStart.append(bytes.substr(0, held));
    bytes.remove_prefix(held);
    const bool mayBeMark = s.heldStart.size() < kByteOrderMark.size() && kByteOrderMark.starts_with(s.heldStart);
    if (mayBeMark) return true;
    s.begin();
  }
  if (!s.ended && !bytes.empty()) s.pushCounted(bytes);
  return !s.ended;
}

RuleFileOutcome RuleFileParser::finish() {
  State& s = *state_;
  if (!s.started) s.begin();
  // The end is parsed after a stop of ours too, so that every element complete
  // before the stop is reported.
  if (s.context && !s.context->disableSAX) s.push({}, true);
  if (s.stoppedEarly) return *s.stoppedEarly;
  if (!s.context->wellFormed) return outcome(RuleFileEnd::notWellFormed, s.firstError.value_or("not well-formed XML"));
  return {};
}

}  // namespace routelle
