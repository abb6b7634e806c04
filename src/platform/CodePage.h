#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Conversions between the program's UTF-8 text and the byte code pages of the favorites files:
// 932 (Japanese, Shift JIS as Windows writes it), 936 (simplified Chinese, GBK) and 1252 (Western).

bool IsSupportedCodePage(unsigned nCodePage);

// The code page of a language index: 0 Japanese 932, 2 Chinese 936, every other value 1252.
unsigned CodePageOfLanguage(int nLanguage);

// Exact conversions: nothing when a character has no place in the target, the input is not valid in its
// own encoding (cut or broken sequences included), or the code page is not one of the three.
std::optional<std::string> Utf8ToCodePage(std::string_view strUtf8, unsigned nCodePage);
std::optional<std::string> CodePageToUtf8(std::string_view strBytes, unsigned nCodePage);

// Conversions that never fail: what cannot be converted becomes "?" (to a code page) or U+FFFD (to UTF-8),
// one replacement per bad character or byte; a code page other than the three is taken as 1252.
// *pnReplaced, when given, counts the replacements.
std::string Utf8ToCodePageLossy(std::string_view strUtf8, unsigned nCodePage, size_t* pnReplaced = nullptr);
std::string CodePageToUtf8Lossy(std::string_view strBytes, unsigned nCodePage, size_t* pnReplaced = nullptr);

}  // namespace platform
