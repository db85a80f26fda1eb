// UTF-8 text to and from the UTF-16 of the wide Windows calls.
#pragma once

#include <string>

std::wstring WideText(const std::string& text);
std::string Utf8Text(const std::wstring& text);
