#include "logdata/CsvFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace logdata {
namespace {

bool IsValueField(std::string_view field) {
    return !field.empty() && field != "-";
}

// Reads a whole regular file; false for folders and unreadable files.
bool ReadWholeFile(const std::string& strPath, std::string& strOut) {
    int fd = ::open(strPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    strOut.clear();
    // The size is a hint only: the file may grow or shrink while it is read.
    strOut.resize(static_cast<std::size_t>(st.st_size) + 1);
    std::size_t nHave = 0;
    for (;;) {
        if (nHave == strOut.size()) strOut.resize(strOut.size() * 2 + 4096);
        ssize_t n = ::read(fd, strOut.data() + nHave, strOut.size() - nHave);
        if (n < 0) {
            if (errno == EINTR) continue;
            ::close(fd);
            strOut.clear();
            return false;
        }
        if (n == 0) break;
        nHave += static_cast<std::size_t>(n);
    }
    ::close(fd);
    strOut.resize(nHave);
    return true;
}

}  // namespace

bool CCsvFile::Open(const std::string& strPath) {
    Close();
    if (!ReadWholeFile(strPath, m_strData)) {
        m_strData.clear();
        return false;
    }
    return true;
}

void CCsvFile::OpenText(std::string strText) {
    Close();
    m_strData = std::move(strText);
}

void CCsvFile::Close() {
    m_strData.clear();
    m_strData.shrink_to_fit();
    m_nPos = 0;
    m_arrField.clear();
    m_strRow.clear();
    m_nTotalFields = 0;
    m_bDroppedValue = false;
}

bool CCsvFile::ReadRow(int nQuoteMode, std::size_t nMaxFields) {
    m_arrField.clear();
    m_nTotalFields = 0;
    m_bDroppedValue = false;
    if (nMaxFields == 0) nMaxFields = 1;

    // The next line with at least one character; empty lines never count.
    std::string_view line;
    const std::string_view data(m_strData);
    for (;;) {
        if (m_nPos >= data.size()) return false;
        std::size_t nEnd = data.find('\n', m_nPos);
        std::size_t nNext = nEnd == std::string_view::npos ? data.size() : nEnd + 1;
        if (nEnd == std::string_view::npos) nEnd = data.size();
        line = data.substr(m_nPos, nEnd - m_nPos);
        m_nPos = nNext;
        // Text mode: CR LF ends a line like LF.
        if (nEnd < data.size() && !line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!line.empty()) break;
    }

    auto addField = [&](std::string_view field) {
        ++m_nTotalFields;
        if (m_arrField.size() < nMaxFields)
            m_arrField.push_back(field);
        else if (IsValueField(field))
            m_bDroppedValue = true;
    };

    if (nQuoteMode != 1) {
        std::size_t nStart = 0;
        for (;;) {
            std::size_t nComma = line.find(',', nStart);
            if (nComma == std::string_view::npos) {
                addField(line.substr(nStart));
                break;
            }
            addField(line.substr(nStart, nComma - nStart));
            nStart = nComma + 1;
        }
        return true;
    }

    // Quote mode 1: quotes toggle the inside state and are not stored. The output is never longer
    // than the line, so reserving the line's length keeps the views valid.
    m_strRow.clear();
    m_strRow.reserve(line.size());
    bool bInside = false;
    std::size_t nFieldStart = 0;
    for (char c : line) {
        if (c == '"') {
            bInside = !bInside;
        } else if (c == ',' && !bInside) {
            addField(std::string_view(m_strRow).substr(nFieldStart));
            nFieldStart = m_strRow.size();
        } else {
            m_strRow.push_back(c);
        }
    }
    addField(std::string_view(m_strRow).substr(nFieldStart));
    return true;
}

}  // namespace logdata
