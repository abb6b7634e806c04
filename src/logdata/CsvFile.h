#pragma once
#include <cstddef>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace logdata {

// Reads a comma-separated text file line by line and splits each line into fields.
// The file is read in blocks of the buffer size (a log file fits into one, so it is read in one
// go); the buffer grows only for a line longer than itself. Fields are views into the reader's own
// buffers, valid until the next ReadRow or Close (a caller copies what it keeps). No allocation
// per field.
class CCsvFile {
public:
    static constexpr std::size_t NO_LIMIT = std::numeric_limits<std::size_t>::max();
    static constexpr std::size_t DEFAULT_BUFFER = 1 << 20;

    explicit CCsvFile(std::size_t nBufferSize = DEFAULT_BUFFER);
    ~CCsvFile();
    CCsvFile(const CCsvFile&) = delete;
    CCsvFile& operator=(const CCsvFile&) = delete;

    // Reads the file; false when it cannot be opened or read (nothing is reported here).
    bool Open(const std::string& strPath);
    // Takes text that is already in memory, as if it were the file's content.
    void OpenText(std::string strText);
    void Close();

    // Reads the next non-empty line and splits it. Quote mode 1 treats double quotes as field
    // brackets (not stored); quote mode 0 keeps them as ordinary characters. Line ends are LF or
    // CR LF. False at the end of the file, with no fields.
    // nMaxFields bounds the fields kept: the rest of the line is still split (and counted by
    // GetTotalCount) but not stored, so a line of a million commas costs no memory.
    bool ReadRow(int nQuoteMode, std::size_t nMaxFields = NO_LIMIT);

    // Fields of the line read last (those kept).
    std::size_t GetCount() const { return m_arrField.size(); }
    std::string_view GetField(std::size_t nIndex) const {
        return nIndex < m_arrField.size() ? m_arrField[nIndex] : std::string_view();
    }
    const std::vector<std::string_view>& Fields() const { return m_arrField; }
    // Fields of the line read last, including those beyond nMaxFields.
    std::size_t GetTotalCount() const { return m_nTotalFields; }
    // True when a field beyond nMaxFields held something other than nothing or "-".
    bool DroppedValues() const { return m_bDroppedValue; }

private:
    bool NextLine(std::string_view& line);
    bool Fill();

    int m_fd = -1;  // the open file, -1 once it is read to its end
    std::size_t m_nBufferSize;
    std::string m_strData;                     // the buffer
    std::size_t m_nPos = 0;                    // start of the next line
    std::size_t m_nEnd = 0;                    // end of the bytes read into the buffer
    std::string m_strRow;                      // quote mode 1: the fields without their quotes
    std::vector<std::string_view> m_arrField;  // the fields of the line read last
    std::size_t m_nTotalFields = 0;
    bool m_bDroppedValue = false;
};

}  // namespace logdata
