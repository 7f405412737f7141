#pragma once
// Texts of the report are single-byte CP1251 strings held in std::string.
#include <locale.h>
#include <string>
#include <vector>

#include <wx/string.h>

namespace pq {

using TextList = std::vector<std::string>;

// UTF-8 bytes to CP1251. Invalid UTF-8, or a character that CP1251 lacks,
// gives the empty text.
std::string CodePageFromUtf8(const std::string& utf8);

// The same for the UTF-8 texts written in the sources.
inline std::string Cp(const char* utf8) { return CodePageFromUtf8(utf8); }

// The same conversion for a library string.
std::string CodePageFromWx(const wxString& text);

// CP1251 bytes to a library string (every byte of CP1251 but 0x98 is defined).
wxString WxFromCodePage(const std::string& text);

// File names as the file system holds them: UTF-8, with bytes that are not
// UTF-8 kept as they are (so a name made under another locale still opens).
wxString PathFromBytes(const char* bytes);
std::string FileSystemPath(const wxString& path);

// The C locale, for conversions that must not follow the process locale.
locale_t CLocale();

// A system error text in English, whatever the process locale.
std::string SystemErrorText(int error);

}  // namespace pq
