// The console's language. Its texts are written in Japanese; ZELTRAN_LANGUAGE names another
// language whose gettext message catalog (zeltran.mo) holds their translations.
#pragma once

#include <string>

// Reads ZELTRAN_LANGUAGE and loads its catalog from program_folder/locale (the build tree) or
// program_folder/../share/locale (installed). Unset, empty or "ja": every text stays as written.
// A language without a catalog is reported on stderr and the texts stay as written.
void InitLanguage(const std::string& program_folder);

// The translation of text, or text itself when there is none.
const char* Translate(const char* text) __attribute__((format_arg(1)));

// Marks a console text for translation (and for xgettext --keyword=_ --keyword=N_); N_ marks
// a text in a table that is translated where it is printed.
#define _(text) Translate(text)
#define N_(text) text
