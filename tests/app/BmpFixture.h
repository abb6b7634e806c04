#pragma once
// Writes small uncompressed bitmap files for the splash tests.
#include <cstdint>
#include <string>

namespace apptest {

struct stBMPSPEC {
    int nWidth = 4;
    int nHeight = 3;
    int nBits = 8;                 // 1, 4, 8 or 24
    uint32_t nColours = 0;         // the header's colour count
    uint32_t nTableEntries = 256;  // entries actually written
    const char* pszSignature = "BM";
    uint32_t nHeaderSize = 40;
};

inline void PutU32(std::string& s, uint32_t n) {
    for (int i = 0; i < 4; ++i) s.push_back(static_cast<char>((n >> (8 * i)) & 0xFF));
}
inline void PutU16(std::string& s, uint16_t n) {
    s.push_back(static_cast<char>(n & 0xFF));
    s.push_back(static_cast<char>(n >> 8));
}

inline std::string MakeBmp(const stBMPSPEC& bmp) {
    const uint32_t nRow = ((static_cast<uint32_t>(bmp.nWidth) * bmp.nBits + 31) / 32) * 4;
    const uint32_t nRows = static_cast<uint32_t>(bmp.nHeight < 0 ? -bmp.nHeight : bmp.nHeight);
    const uint32_t nPixels = nRow * nRows;
    const uint32_t nOffset = 14 + bmp.nHeaderSize + bmp.nTableEntries * 4;
    std::string s;
    s += bmp.pszSignature;
    PutU32(s, nOffset + nPixels);
    PutU32(s, 0);
    PutU32(s, nOffset);
    PutU32(s, bmp.nHeaderSize);
    PutU32(s, static_cast<uint32_t>(bmp.nWidth));
    PutU32(s, static_cast<uint32_t>(bmp.nHeight));
    PutU16(s, 1);
    PutU16(s, static_cast<uint16_t>(bmp.nBits));
    PutU32(s, 0);  // no compression
    PutU32(s, nPixels);
    PutU32(s, 2835);
    PutU32(s, 2835);
    PutU32(s, bmp.nColours);
    PutU32(s, 0);
    s.append(bmp.nHeaderSize > 40 ? bmp.nHeaderSize - 40 : 0, '\0');
    for (uint32_t i = 0; i < bmp.nTableEntries; ++i) {
        s.push_back(static_cast<char>(i & 0xFF));          // blue
        s.push_back(static_cast<char>((i * 7) & 0xFF));    // green
        s.push_back(static_cast<char>(255 - (i & 0xFF)));  // red
        s.push_back(0);
    }
    for (uint32_t i = 0; i < nPixels; ++i) s.push_back(static_cast<char>(i % 2));
    return s;
}

}  // namespace apptest
