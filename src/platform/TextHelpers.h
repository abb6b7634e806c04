#pragma once
#include <string>
#include <string_view>

namespace platform {

// Number to text: "%f", cut to at most nLength characters (never inside the integer part), trailing
// zeros and a trailing "." removed, optional "," between groups of three integer digits.
// Always "C" locale digits.
std::string FormatNumber(double dValue, int nLength, bool bGrouping);

// The smallest k of 0, 3, 6, ... with |value| / 10^k below 10000; 0 for NaN and infinities.
int ThousandsExponent(double dValue);

// Decimal digits with at most one leading "-" ("-" alone is 0); false for anything else and for values
// that do not fit an int.
bool ParseSignedInt(std::string_view strText, int& nResult);

// Leading blanks, then hexadecimal digits of either case; false when any other character follows or
// the value does not fit (nResult is then not to be used).
bool ParseHex(std::string_view strText, unsigned& nResult);

// The usual decimal conversion: leading white space and a sign, then as much of a decimal number as
// the text holds; 0 for text not starting with one (infinity, NaN and out-of-range text included);
// independent of the C locale.
double ParseDouble(std::string_view strText);

// snprintf into a std::string with "C" locale digits, whatever the process locale is.
std::string FormatPrintf(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

}  // namespace platform
