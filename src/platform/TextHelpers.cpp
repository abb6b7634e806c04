#include "platform/TextHelpers.h"

#include <locale.h>

#include <charconv>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <limits>
#include <vector>

namespace platform {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// "%f" of the value with "C" locale digits.
std::string FixedSix(double dValue) {
    // The widest finite double has 309 integer digits.
    char buf[400];
    auto res = std::to_chars(buf, buf + sizeof buf, dValue, std::chars_format::fixed, 6);
    if (res.ec != std::errc()) return std::string();
    return std::string(buf, res.ptr);
}

locale_t CLocale() {
    static locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return loc;
}

}  // namespace

std::string FormatNumber(double dValue, int nLength, bool bGrouping) {
    std::string s = FixedSix(dValue);
    size_t dot = s.find('.');
    if (dot != std::string::npos) {
        size_t keep = std::max(dot, nLength > 0 ? static_cast<size_t>(nLength) : size_t(0));
        if (keep < s.size()) s.resize(keep);
    }
    if (s.find('.') != std::string::npos) {
        // Trailing zeros of the fraction go, and the "." with them when nothing is left after it.
        while (!s.empty() && (s.back() == '0' || s.back() == '.')) {
            bool bDot = s.back() == '.';
            s.pop_back();
            if (bDot) break;
        }
    }
    // A value that rounds to zero is "0", never "-0".
    if (s == "-0") s = "0";
    if (!bGrouping) return s;

    size_t intEnd = s.find('.');
    if (intEnd == std::string::npos) intEnd = s.size();
    size_t intBegin = (!s.empty() && s[0] == '-') ? 1 : 0;
    for (size_t i = intBegin; i < intEnd; ++i)
        if (!IsDigit(s[i])) return s;  // "inf", "nan"
    std::string out(s, 0, intBegin);
    size_t nDigits = intEnd - intBegin;
    for (size_t i = 0; i < nDigits; ++i) {
        out += s[intBegin + i];
        size_t nLeft = nDigits - i - 1;  // digits still to come
        if (nLeft > 0 && nLeft % 3 == 0) out += ',';
    }
    out.append(s, intEnd, std::string::npos);
    return out;
}

int ThousandsExponent(double dValue) {
    if (!std::isfinite(dValue)) return 0;
    double dAbs = std::fabs(dValue);
    int k = 0;
    // 10^k stays finite up to 10^306 for every finite value.
    while (k < 306 && dAbs / std::pow(10.0, k) >= 10000.0) k += 3;
    return k;
}

bool ParseSignedInt(std::string_view strText, int& nResult) {
    if (strText.empty()) return false;
    bool bNegative = false;
    if (strText.front() == '-') {
        bNegative = true;
        strText.remove_prefix(1);
    }
    // Accumulate negatively so that INT_MIN fits.
    long long llValue = 0;
    for (char c : strText) {
        if (!IsDigit(c)) return false;
        llValue = llValue * 10 - (c - '0');
        if (llValue < static_cast<long long>(std::numeric_limits<int>::min()) - 1) return false;
    }
    if (!bNegative) {
        llValue = -llValue;
        if (llValue > std::numeric_limits<int>::max()) return false;
    } else if (llValue < std::numeric_limits<int>::min()) {
        return false;
    }
    nResult = static_cast<int>(llValue);
    return true;
}

bool ParseHex(std::string_view strText, unsigned& nResult) {
    size_t i = 0;
    while (i < strText.size() && (strText[i] == ' ' || strText[i] == '\t')) ++i;
    unsigned nValue = 0;
    for (; i < strText.size(); ++i) {
        int d = HexValue(strText[i]);
        if (d < 0) return false;
        if (nValue > (std::numeric_limits<unsigned>::max() >> 4)) return false;  // would lose digits
        nValue = (nValue << 4) | static_cast<unsigned>(d);
    }
    nResult = nValue;
    return true;
}

double ParseDouble(std::string_view strText) {
    size_t i = 0;
    auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; };
    while (i < strText.size() && isSpace(strText[i])) ++i;
    bool bNegative = false;
    if (i < strText.size() && (strText[i] == '+' || strText[i] == '-')) {
        bNegative = strText[i] == '-';
        ++i;
    }
    // Only a digit or "." followed by a digit starts a number (no infinity, NaN or hexadecimal).
    if (i >= strText.size()) return 0.0;
    if (!IsDigit(strText[i]) && !(strText[i] == '.' && i + 1 < strText.size() && IsDigit(strText[i + 1]))) return 0.0;
    double dValue = 0.0;
    auto res = std::from_chars(strText.data() + i, strText.data() + strText.size(), dValue,
                               std::chars_format::fixed | std::chars_format::scientific);
    if (res.ec != std::errc() || !std::isfinite(dValue)) return 0.0;
    return bNegative ? -dValue : dValue;
}

std::string FormatPrintf(const char* fmt, ...) {
    locale_t old = uselocale(CLocale());
    va_list args;
    va_start(args, fmt);
    va_list args2;
    va_copy(args2, args);
    char small[256];
    int n = std::vsnprintf(small, sizeof small, fmt, args);
    std::string out;
    if (n >= 0 && static_cast<size_t>(n) < sizeof small) {
        out.assign(small, static_cast<size_t>(n));
    } else if (n >= 0) {
        std::vector<char> big(static_cast<size_t>(n) + 1);
        std::vsnprintf(big.data(), big.size(), fmt, args2);
        out.assign(big.data(), static_cast<size_t>(n));
    }
    va_end(args2);
    va_end(args);
    uselocale(old);
    return out;
}

}  // namespace platform
