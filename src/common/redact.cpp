#include "common/redact.hpp"

#include <cstring>

namespace {

constexpr char kHidden[] = "***";

// Characters that end a URL's authority part (host, port and the user before them).
bool EndsAuthority(char c) {
    return c != '\0' && std::strchr("/?#!\"' \t\n", c) != nullptr;
}

// Characters that end a word of a pipeline (a property and its value).
bool EndsWord(char c) {
    return c != '\0' && std::strchr(" \t!\n", c) != nullptr;
}

bool IsQuote(char c) {
    return c != '\0' && std::strchr("\"'", c) != nullptr;
}

// "user:pw@" after each "://": up to the last '@' of the authority, since a password written
// unencoded may hold an '@' itself.
std::string HideUsers(const std::string& text) {
    std::string out;
    size_t from = 0;
    for (size_t scheme = text.find("://"); scheme != std::string::npos;
         scheme = text.find("://", from)) {
        const size_t start = scheme + 3;
        size_t end = start;
        while (end < text.size() && !EndsAuthority(text[end])) ++end;
        const size_t at = text.rfind('@', end == 0 ? 0 : end - 1);
        out.append(text, from, start - from);
        if (at != std::string::npos && at >= start && at < end) {
            out += kHidden;
            from = at;
        } else {
            from = start;
        }
    }
    out.append(text, from, std::string::npos);
    return out;
}

// The value of "NAME-pw=VALUE" and "password=VALUE" (GStreamer element properties).
std::string HidePasswordProperties(const std::string& text) {
    std::string out;
    size_t i = 0;
    while (i < text.size()) {
        const size_t equals = text.find('=', i);
        if (equals == std::string::npos) break;
        size_t name = equals;
        while (name > i && !EndsWord(text[name - 1])) --name;
        const std::string key = text.substr(name, equals - name);
        const bool secret = key == "password" || (key.size() > 3 && key.ends_with("-pw"));
        out.append(text, i, equals + 1 - i);
        i = equals + 1;
        if (!secret) continue;
        size_t end = i;
        if (end < text.size() && IsQuote(text[end])) {
            const size_t close = text.find(text[end], end + 1);
            end = close == std::string::npos ? text.size() : close + 1;
        } else {
            while (end < text.size() && !EndsWord(text[end])) ++end;
        }
        out += kHidden;
        i = end;
    }
    out.append(text, i, std::string::npos);
    return out;
}

}  // namespace

std::string RedactCredentials(const std::string& text) {
    return HidePasswordProperties(HideUsers(text));
}
