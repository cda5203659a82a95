#pragma once
// Text kept as bytes (names and comments from files) is decoded only for
// display: UTF-8 when it is valid, else Windows-1252. Language files are
// decoded by the font charset number on their first line.
#include <QString>
#include <string>
#include <string_view>

bool IsValidUtf8(std::string_view bytes);

// Converts bytes of the named iconv code page to UTF-8. Undecodable bytes
// become U+FFFD. Returns false (and leaves `utf8` empty) when the code page
// is unknown.
bool DecodeCodePage(std::string_view bytes, const char* codePage, std::string& utf8);

// Converts UTF-8 to the named iconv code page. False (and `bytes` empty)
// when the code page is unknown or a character has no byte in it.
bool EncodeCodePage(std::string_view utf8, const char* codePage, std::string& bytes);

// iconv name of the code page that goes with a Windows font charset number
// (0 western, 204 Cyrillic, 238 Central European, 128 Japanese, ...).
// Unknown numbers give "CP1252".
const char* CodePageOfCharset(int fontCharset);

// UTF-8 text for display.
std::string DisplayText(std::string_view bytes);
QString DisplayQString(std::string_view bytes);

// The bytes an edited text is kept in, at most `maxBytes` of them, cut at a
// character boundary. A text that was kept as Windows-1252 stays in it when
// every character has a byte there, so an edit does not make the letters it
// had take more room than they had; otherwise UTF-8.
std::string KeptTextBytes(const QString& text, std::string_view kept, std::size_t maxBytes);
