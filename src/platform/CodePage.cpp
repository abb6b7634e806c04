#include "platform/CodePage.h"

#include <iconv.h>

#include <cerrno>

namespace platform {

namespace {

const char* IconvName(unsigned nCodePage) {
    switch (nCodePage) {
        case 932:
            return "CP932";
        case 936:
            return "CP936";
        case 1252:
            return "CP1252";
        default:
            return nullptr;
    }
}

// Length of the UTF-8 sequence starting at s[i] (1 for a byte that starts none), for skipping bad input.
size_t Utf8SkipLength(std::string_view s, size_t i) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    size_t n = c < 0xC0 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : c < 0xF8 ? 4 : 1;
    size_t k = 1;
    while (k < n && i + k < s.size() && (static_cast<unsigned char>(s[i + k]) & 0xC0) == 0x80) ++k;
    return k;
}

class CIconv {
public:
    CIconv(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~CIconv() {
        if (Ok()) iconv_close(m_cd);
    }
    CIconv(const CIconv&) = delete;
    CIconv& operator=(const CIconv&) = delete;
    bool Ok() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    // Converts the whole input. On a character that cannot be converted: bLossy false stops with false,
    // bLossy true appends the replacement and skips the bad character (skip(input, at) bytes).
    template <typename Skip>
    bool Run(std::string_view in, std::string& out, bool bLossy, std::string_view replacement, Skip skip,
             size_t& nReplaced) {
        out.clear();
        nReplaced = 0;
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        size_t at = 0;
        char buf[1024];
        while (at < in.size()) {
            char* pIn = const_cast<char*>(in.data() + at);
            size_t nIn = in.size() - at;
            char* pOut = buf;
            size_t nOut = sizeof buf;
            size_t r = iconv(m_cd, &pIn, &nIn, &pOut, &nOut);
            int err = errno;
            out.append(buf, static_cast<size_t>(pOut - buf));
            at = in.size() - nIn;
            if (r != static_cast<size_t>(-1)) continue;
            if (err == E2BIG) continue;
            if (!bLossy) return false;
            // EILSEQ (no place, or broken input) and EINVAL (cut at the end) both replace one character.
            out.append(replacement);
            ++nReplaced;
            at += std::max<size_t>(1, skip(in, at));
        }
        // Flush a shift state (none of these code pages has one, but stay correct).
        char* pOut = buf;
        size_t nOut = sizeof buf;
        iconv(m_cd, nullptr, nullptr, &pOut, &nOut);
        out.append(buf, static_cast<size_t>(pOut - buf));
        return true;
    }

private:
    iconv_t m_cd;
};

// Bytes of a code page: a lead byte of a double-byte character takes its trail byte with it.
size_t CodePageSkipLength(unsigned nCodePage, std::string_view s, size_t i) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    bool bLead = false;
    if (nCodePage == 932) bLead = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
    if (nCodePage == 936) bLead = c >= 0x81 && c <= 0xFE;
    if (bLead && i + 1 < s.size()) {
        unsigned char t = static_cast<unsigned char>(s[i + 1]);
        if (t >= 0x40 && t != 0x7F) return 2;
    }
    return 1;
}

}  // namespace

bool IsSupportedCodePage(unsigned nCodePage) {
    return IconvName(nCodePage) != nullptr;
}

unsigned CodePageOfLanguage(int nLanguage) {
    if (nLanguage == 0) return 932;
    if (nLanguage == 2) return 936;
    return 1252;
}

std::optional<std::string> Utf8ToCodePage(std::string_view strUtf8, unsigned nCodePage) {
    const char* name = IconvName(nCodePage);
    if (!name) return std::nullopt;
    CIconv cv(name, "UTF-8");
    if (!cv.Ok()) return std::nullopt;
    std::string out;
    size_t n = 0;
    if (!cv.Run(strUtf8, out, false, "", Utf8SkipLength, n)) return std::nullopt;
    return out;
}

std::optional<std::string> CodePageToUtf8(std::string_view strBytes, unsigned nCodePage) {
    const char* name = IconvName(nCodePage);
    if (!name) return std::nullopt;
    CIconv cv("UTF-8", name);
    if (!cv.Ok()) return std::nullopt;
    std::string out;
    size_t n = 0;
    auto skip = [nCodePage](std::string_view s, size_t i) { return CodePageSkipLength(nCodePage, s, i); };
    if (!cv.Run(strBytes, out, false, "", skip, n)) return std::nullopt;
    return out;
}

std::string Utf8ToCodePageLossy(std::string_view strUtf8, unsigned nCodePage, size_t* pnReplaced) {
    size_t n = 0;
    std::string out;
    const char* name = IconvName(nCodePage);
    CIconv cv(name ? name : "CP1252", "UTF-8");
    if (cv.Ok()) cv.Run(strUtf8, out, true, "?", Utf8SkipLength, n);
    if (pnReplaced) *pnReplaced = n;
    return out;
}

std::string CodePageToUtf8Lossy(std::string_view strBytes, unsigned nCodePage, size_t* pnReplaced) {
    size_t n = 0;
    std::string out;
    const char* name = IconvName(nCodePage);
    if (!name) nCodePage = 1252;
    CIconv cv("UTF-8", name ? name : "CP1252");
    auto skip = [nCodePage](std::string_view s, size_t i) { return CodePageSkipLength(nCodePage, s, i); };
    if (cv.Ok()) cv.Run(strBytes, out, true, "\xEF\xBF\xBD", skip, n);
    if (pnReplaced) *pnReplaced = n;
    return out;
}

}  // namespace platform
