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

}  // namespace

CCsvFile::CCsvFile(std::size_t nBufferSize) : m_nBufferSize(nBufferSize < 1 ? 1 : nBufferSize) {}

CCsvFile::~CCsvFile() {
    Close();
}

bool CCsvFile::Open(const std::string& strPath) {
    Close();
    // Opened without blocking, so that a named pipe or a device under a log file's name is refused
    // instead of waiting for a writer; a regular file then reads as usual.
    int fd = ::open(strPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    const int nFlags = ::fcntl(fd, F_GETFL);
    if (nFlags >= 0) ::fcntl(fd, F_SETFL, nFlags & ~O_NONBLOCK);
    m_fd = fd;
    // A file smaller than the buffer is read whole by the first fill.
    std::size_t nSize = static_cast<std::size_t>(st.st_size) + 1;
    m_strData.resize(nSize < m_nBufferSize ? nSize : m_nBufferSize);
    return true;
}

void CCsvFile::OpenText(std::string strText) {
    Close();
    m_strData = std::move(strText);
    m_nEnd = m_strData.size();
}

void CCsvFile::Close() {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
    m_strData.clear();
    m_strData.shrink_to_fit();
    m_nPos = m_nEnd = 0;
    m_arrField.clear();
    m_strRow.clear();
    m_nTotalFields = 0;
    m_bDroppedValue = false;
}

// Moves the unread rest to the front and reads more; false at the end of the file.
bool CCsvFile::Fill() {
    if (m_fd < 0) return false;
    if (m_nPos > 0) {
        std::memmove(m_strData.data(), m_strData.data() + m_nPos, m_nEnd - m_nPos);
        m_nEnd -= m_nPos;
        m_nPos = 0;
    }
    if (m_nEnd == m_strData.size()) m_strData.resize(m_strData.size() * 2 + 16);  // a line longer than the buffer
    for (;;) {
        ssize_t n = ::read(m_fd, m_strData.data() + m_nEnd, m_strData.size() - m_nEnd);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {  // the end, or a read error: what was read is all there is
            ::close(m_fd);
            m_fd = -1;
            return false;
        }
        m_nEnd += static_cast<std::size_t>(n);
        return true;
    }
}

// The next line without its line end (LF or CR LF); false at the end of the file.
bool CCsvFile::NextLine(std::string_view& line) {
    std::size_t nScan = m_nPos;
    for (;;) {
        const char* pBase = m_strData.data();
        const void* pNl = std::memchr(pBase + nScan, '\n', m_nEnd - nScan);
        if (pNl != nullptr) {
            std::size_t nNl = static_cast<std::size_t>(static_cast<const char*>(pNl) - pBase);
            line = std::string_view(pBase + m_nPos, nNl - m_nPos);
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            m_nPos = nNl + 1;
            return true;
        }
        const std::size_t nScanned = m_nEnd - m_nPos;  // no line end in these bytes
        if (!Fill()) {
            if (m_nPos >= m_nEnd) return false;
            line = std::string_view(m_strData.data() + m_nPos, m_nEnd - m_nPos);
            m_nPos = m_nEnd;
            return true;
        }
        nScan = m_nPos + nScanned;
    }
}

bool CCsvFile::ReadRow(int nQuoteMode, std::size_t nMaxFields) {
    m_arrField.clear();
    m_nTotalFields = 0;
    m_bDroppedValue = false;
    if (nMaxFields == 0) nMaxFields = 1;

    // The next line with at least one character; empty lines never count.
    std::string_view line;
    do {
        if (!NextLine(line)) return false;
    } while (line.empty());

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
