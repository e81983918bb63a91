#pragma once

#include <string>
#include <string_view>

namespace korvel {

// Windows-1254 (Turkish) text as stored in the files. Every byte maps to one code point
// and back, so a field read and written again keeps its bytes (NUL padding included).
// Code points that Windows-1254 cannot hold are written as "?".
std::string cp1254ToUtf8(std::string_view bytes);
std::string utf8ToCp1254(std::string_view utf8);

// A fixed-width field: the text in cp1254, cut to width or padded with spaces on the right.
std::string fixedField(std::string_view utf8, std::size_t width);

// Helpers for field texts (UTF-8). trimmed() removes spaces only, as the fields are
// space-padded; blank() is true for text of spaces and NULs or text starting with NUL.
std::string trimmedRight(std::string_view text);
std::string trimmedLeft(std::string_view text);
std::string trimmed(std::string_view text);
bool isBlankField(std::string_view text);

// Number of characters (code points) in UTF-8 text, and its first n characters.
std::size_t utf8Length(std::string_view utf8);
std::string utf8Left(std::string_view utf8, std::size_t count);
std::string utf8Mid(std::string_view utf8, std::size_t start, std::size_t count);

// One code point as UTF-8.
std::string codePointToUtf8(char32_t codePoint);
// Whether Windows-1254 has a byte for the code point (so it survives being stored).
bool isCp1254Character(char32_t codePoint);

} // namespace korvel
