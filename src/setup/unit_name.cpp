#include "setup/unit_name.hpp"

#include <cstdio>

std::string EscapeUnitPath(const std::string& path) {
    size_t begin = path.find_first_not_of('/');
    if (begin == std::string::npos) return "-";
    size_t end = path.find_last_not_of('/') + 1;
    std::string escaped;
    for (size_t i = begin; i < end; ++i) {
        const unsigned char c = static_cast<unsigned char>(path[i]);
        // Repeated slashes are one separator, as systemd simplifies the path first.
        if (c == '/') {
            if (path[i - 1] != '/') escaped += '-';
            continue;
        }
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == ':' || c == '_' ||
                           (c == '.' && i != begin);
        if (plain) {
            escaped += static_cast<char>(c);
        } else {
            char code[5];
            std::snprintf(code, sizeof code, "\\x%02x", c);
            escaped += code;
        }
    }
    return escaped;
}

std::string ServiceUnitName(const std::string& root) {
    return "zeltran@" + EscapeUnitPath(root) + ".service";
}
