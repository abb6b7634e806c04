#include "logdata/LoggerFolder.h"

#include "logdata/LogNames.h"
#include "platform/PathUtil.h"

namespace logdata {
namespace {

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (Lower(text[i]) != Lower(prefix[i])) return false;
    return true;
}

bool EndsWithNoCase(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && StartsWithNoCase(text.substr(text.size() - suffix.size()), suffix);
}

// The unit whose prefix the name carries: -1 "syunji(", 0..7 "syunji_uN("; -2 for none.
int UnitOfName(std::string_view name, std::size_t& nOpen) {
    const std::string_view base = LOG_PREFIX;
    if (!StartsWithNoCase(name, base)) return -2;
    std::string_view rest = name.substr(base.size());
    if (!rest.empty() && rest[0] == '(') {
        nOpen = base.size();
        return -1;
    }
    if (rest.size() >= 4 && Lower(rest[0]) == '_' && Lower(rest[1]) == 'u' && rest[2] >= '0' && rest[2] <= '7' &&
        rest[3] == '(') {
        nOpen = base.size() + 3;
        return rest[2] - '0';
    }
    return -2;
}

}  // namespace

CLoggerFolder::CLoggerFolder(std::string strFolder) : m_strFolder(std::move(strFolder)) {
    m_arrEntry = platform::ListFolder(m_strFolder);
    static const char* const kKinds[FILE_KIND_COUNT] = {"_TRG).", "_SET).", "_MOD).", "_POW)."};
    const std::string strExt = LOG_EXTENSION;
    for (int i = 0; i < static_cast<int>(m_arrEntry.size()); ++i) {
        const platform::FileEntry& entry = m_arrEntry[static_cast<std::size_t>(i)];
        if (entry.bDirectory) continue;
        std::string_view name = entry.strName;
        std::size_t nOpen = 0;
        int nUnit = UnitOfName(name, nOpen);
        if (nUnit == -2) continue;
        // Current files: "<prefix>(*CURRENT*).csv".
        if (platform::MatchWildcard(CurrentPattern(nUnit), name)) m_arrCurrent[nUnit + 1].push_back(i);
        // Dated files: "<prefix>(YYMMDD_*_<kind>).csv" - the prefix, '(', six digits and '_' at the
        // start, "_<kind>).csv" at the end, not overlapping.
        std::size_t nHead = nOpen + 1 + 6 + 1;
        if (name.size() < nHead) continue;
        int nDate = 0;
        bool bDigits = true;
        for (std::size_t k = nOpen + 1; k < nOpen + 7; ++k) {
            if (name[k] < '0' || name[k] > '9') {
                bDigits = false;
                break;
            }
            nDate = nDate * 10 + (name[k] - '0');
        }
        if (!bDigits || name[nOpen + 7] != '_') continue;
        for (int nKind = 0; nKind < FILE_KIND_COUNT; ++nKind) {
            std::string suffix = std::string(kKinds[nKind]) + strExt;
            if (name.size() >= nHead + suffix.size() && EndsWithNoCase(name, suffix)) {
                m_mapDated[Key(nUnit, nKind, nDate)].push_back(i);
                break;
            }
        }
    }
}

std::uint32_t CLoggerFolder::Key(int nUnit, int nKind, int nYYMMDD) {
    return static_cast<std::uint32_t>(((nUnit + 1) * FILE_KIND_COUNT + nKind) * 1000000 + nYYMMDD);
}

std::string CLoggerFolder::PathOf(int nEntry) const {
    if (nEntry < 0 || nEntry >= static_cast<int>(m_arrEntry.size())) return std::string();
    return platform::JoinPath(m_strFolder, m_arrEntry[static_cast<std::size_t>(nEntry)].strName);
}

const std::vector<int>& CLoggerFolder::DatedFiles(int nUnit, int nYear, int nMonth, int nDay, int nKind) const {
    if (nUnit < -1 || nUnit > 7 || nKind < 0 || nKind >= FILE_KIND_COUNT || nMonth < 1 || nMonth > 99 || nDay < 1 ||
        nDay > 99)
        return m_arrNone;
    int nYY = ((nYear % 100) + 100) % 100;
    auto it = m_mapDated.find(Key(nUnit, nKind, nYY * 10000 + nMonth * 100 + nDay));
    return it == m_mapDated.end() ? m_arrNone : it->second;
}

const std::vector<int>& CLoggerFolder::CurrentFiles(int nUnit) const {
    if (nUnit < -1 || nUnit > 7) return m_arrNone;
    return m_arrCurrent[nUnit + 1];
}

std::vector<int> CLoggerFolder::Match(std::string_view pattern) const {
    std::vector<int> result;
    for (int i = 0; i < static_cast<int>(m_arrEntry.size()); ++i)
        if (!m_arrEntry[static_cast<std::size_t>(i)].bDirectory &&
            platform::MatchWildcard(pattern, m_arrEntry[static_cast<std::size_t>(i)].strName))
            result.push_back(i);
    return result;
}

}  // namespace logdata
