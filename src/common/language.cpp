#include "common/language.hpp"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <unordered_map>

#include "common/console.hpp"

namespace {

constexpr uint32_t kCatalogMagic = 0x950412de;  // a .mo file written in this machine's order

// msgid -> msgstr of the loaded catalog; empty while texts stay as written.
std::unordered_map<std::string, std::string> translations;

uint32_t WordAt(const std::string& bytes, size_t offset) {
    uint32_t word = 0;
    if (offset + 4 <= bytes.size()) std::memcpy(&word, bytes.data() + offset, 4);
    return word;
}

// The string whose length and offset stand in the table entry at offset; false when it lies
// outside the file.
bool StringAt(const std::string& bytes, size_t entry, std::string* text) {
    const size_t length = WordAt(bytes, entry);
    const size_t offset = WordAt(bytes, entry + 4);
    if (offset > bytes.size() || length > bytes.size() - offset) return false;
    text->assign(bytes, offset, length);
    return true;
}

// The printf conversions of text in order ("%s%d" for "a %s b %5d"), "%%" left out.
std::string Conversions(const std::string& text) {
    std::string found;
    for (size_t at = text.find('%'); at != std::string::npos; at = text.find('%', at + 1)) {
        const size_t end = text.find_first_of("diouxXeEfFgGaAcspn%", at + 1);
        if (end == std::string::npos) break;
        if (text[end] != '%') found += text.substr(at, end - at + 1);
        at = end;
    }
    return found;
}

// Reads a GNU .mo catalog (as msgfmt writes it) into translations; false when it is not one.
bool LoadCatalog(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
    if (bytes.size() < 28 || WordAt(bytes, 0) != kCatalogMagic) return false;
    const size_t count = WordAt(bytes, 8);
    const size_t originals = WordAt(bytes, 12);
    const size_t translated = WordAt(bytes, 16);
    for (size_t i = 0; i < count; ++i) {
        std::string id, text;
        if (!StringAt(bytes, originals + 8 * i, &id) ||
            !StringAt(bytes, translated + 8 * i, &text)) {
            translations.clear();
            return false;
        }
        // The empty msgid is the catalog's header. A translation whose conversions differ from
        // its text's would read the printf arguments wrongly: the text stays as written.
        if (!id.empty() && Conversions(id) == Conversions(text)) translations[id] = text;
    }
    return true;
}

}  // namespace

void InitLanguage(const std::string& program_folder) {
    const char* language = std::getenv("ZELTRAN_LANGUAGE");
    if (language == nullptr || *language == '\0' || std::strcmp(language, "ja") == 0) return;
    if (std::strchr(language, '/') == nullptr) {
        // glibc's gettext() chooses its catalog by the locale and ignores LANGUAGE under the C
        // locale, which is how services and build machines run; the language here follows
        // ZELTRAN_LANGUAGE alone, so the catalog is read directly. It lies beside the program in
        // the build tree and in ../share/locale when installed, wherever the prefix is.
        const std::string file = std::string("/") + language + "/LC_MESSAGES/zeltran.mo";
        for (const std::string& locale_dir :
             {program_folder + "/locale", program_folder + "/../share/locale"}) {
            if (LoadCatalog(locale_dir + file)) return;
        }
    }
    PrintError("WARNING: No message catalog for ZELTRAN_LANGUAGE=%s; the console stays Japanese.\n",
               language);
}

const char* Translate(const char* text) {
    if (translations.empty()) return text;
    const auto found = translations.find(text);
    return found != translations.end() && !found->second.empty() ? found->second.c_str() : text;
}
