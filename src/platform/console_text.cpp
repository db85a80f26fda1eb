#include "platform/console_text.hpp"

#include <iconv.h>
#include <langinfo.h>
#include <locale.h>

#include <cerrno>
#include <string>
#include <vector>

#include "common/console.hpp"

namespace {

// Converter from UTF-8 to the console code set; (iconv_t)-1 while output stays UTF-8.
iconv_t to_console = reinterpret_cast<iconv_t>(-1);

bool IsShiftJisName(const char* codeset) {
    std::string name;
    for (const char* p = codeset; *p; ++p) {
        const char c = *p;
        if (c != '-' && c != '_') name += static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
    }
    return name == "SHIFTJIS" || name == "SJIS" || name == "CP932" || name == "WINDOWS31J" ||
           name == "MSKANJI";
}

}  // namespace

void WriteConsoleText(FILE* stream, const char* text, size_t length) {
    if (to_console == reinterpret_cast<iconv_t>(-1)) {
        std::fwrite(text, 1, length, stream);
        return;
    }
    std::vector<char> out(length * 2 + 16);
    char* in_ptr = const_cast<char*>(text);
    size_t in_left = length;
    char* out_ptr = out.data();
    size_t out_left = out.size();
    iconv(to_console, nullptr, nullptr, nullptr, nullptr);
    while (in_left > 0) {
        if (iconv(to_console, &in_ptr, &in_left, &out_ptr, &out_left) != static_cast<size_t>(-1)) {
            break;
        }
        if (errno == E2BIG) break;  // cannot happen: Shift-JIS never needs more bytes than UTF-8
        // A character without a Shift-JIS form is written as '?' and skipped.
        if (out_left > 0) {
            *out_ptr++ = '?';
            --out_left;
        }
        ++in_ptr;
        --in_left;
        while (in_left > 0 && (static_cast<unsigned char>(*in_ptr) & 0xC0) == 0x80) {
            ++in_ptr;
            --in_left;
        }
    }
    std::fwrite(out.data(), 1, out.size() - out_left, stream);
}

void PrepareConsoleText() {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    locale_t user = newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(0));
    if (user != static_cast<locale_t>(0)) {
        const char* codeset = nl_langinfo_l(CODESET, user);
        if (codeset && IsShiftJisName(codeset)) to_console = iconv_open("CP932", "UTF-8");
        freelocale(user);
    }
    InitConsole(WriteConsoleText);
}

bool ConsoleTextIsShiftJis() {
    return to_console != reinterpret_cast<iconv_t>(-1);
}
