#pragma once
#include <optional>
#include <string>

namespace routelle {

// The link as the program handles it: own scheme and marker removed, scheme repaired.
std::string normaliseLink(const std::string& text);
// The scheme repairs alone, as the Services entry applies them.
std::string repairScheme(const std::string& text);
// The mail link a normalised link stands for: the text from "mailto:" on (any
// case) when it begins so, after at most one leading "http://" or "https://"
// that the normalisation or a sender put in front; nothing for other links.
// Addresses inside the message ("body=https://...") are left as they are.
std::optional<std::string> mailLink(const std::string& link);
// The text up to its first NUL: what a process argument or C string would carry,
// so that the link routed is the link opened.
std::string untilNul(std::string text);
// The last "/"-separated component with every ".app" removed.
std::string appNameFromPath(const std::string& path);

}  // namespace routelle
