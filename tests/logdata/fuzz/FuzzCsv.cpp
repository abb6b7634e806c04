#include "FuzzEntries.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize) {
    logfuzz::FuzzCsvReader(pData, nSize);
    return 0;
}
