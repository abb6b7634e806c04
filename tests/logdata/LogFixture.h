#pragma once
// Small data folders written by the tests: a temporary folder per test, logger folders and log
// files with the line layout the loggers write.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace logtest {

class TempFolder {
public:
    TempFolder() {
        std::string tmpl = (std::filesystem::temp_directory_path() / "lumetra-logdata-XXXXXX").string();
        std::vector<char> buf(tmpl.begin(), tmpl.end());
        buf.push_back('\0');
        char* p = ::mkdtemp(buf.data());
        m_path = p ? p : "";
    }
    ~TempFolder() {
        std::error_code ec;
        if (!m_path.empty()) std::filesystem::remove_all(m_path, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& Path() const { return m_path; }
    std::string operator/(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

inline void WriteFile(const std::string& path, const std::string& text) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream out(path, std::ios::binary);
    out << text;
}

// "MTR0007" under the base.
inline std::string Logger(const std::string& base, int number) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "MTR00%02d", number);
    return base + "/" + buf;
}

// Header lines 1-4 of a log file: line 4 names the columns (empty names where none is given).
// Field 0 of line 4 is empty, so that the names never count as values when a unit type is told.
inline std::string Header(const std::vector<std::string>& names) {
    std::string s = "LOGGER,TEST\nunit,,\n,kWh,\n";
    for (size_t i = 0; i < names.size(); ++i) s += (i ? "," : "") + names[i];
    return s + "\n";
}

// Column names of an LX30-A file: DT100 at field 2, DT154 at field 12.
inline std::vector<std::string> Lx30Names() {
    std::vector<std::string> names(13);
    names[1] = "Time";
    names[2] = "DT100";
    names[12] = "DT154";
    return names;
}

// Column names of an LX50-A unit: main unit DT120, DT122, DT154 at 19; expansion unit u
// DT(100u+120/122) at 2, 3, DT(100u+190/192) at 20, 21 and DT(100u+194/196) at 22, 23.
inline std::vector<std::string> Lx50Names(int unit) {
    std::vector<std::string> names(unit == 0 ? 20 : 24);
    names[1] = "Time";
    auto dt = [](int code) { return "DT" + std::to_string(code); };
    names[2] = dt(100 * unit + 120);
    names[3] = dt(100 * unit + 122);
    if (unit == 0) {
        names[19] = "DT154";
    } else {
        names[20] = dt(100 * unit + 190);
        names[21] = dt(100 * unit + 192);
        names[22] = dt(100 * unit + 194);
        names[23] = dt(100 * unit + 196);
    }
    return names;
}

// One data row: date, time and values at given field indexes (others empty), nFields fields.
inline std::string Row(const std::string& date, const std::string& time,
                       const std::vector<std::pair<int, std::string>>& values, int nFields) {
    std::vector<std::string> f(static_cast<size_t>(nFields));
    f[0] = date;
    f[1] = time;
    for (auto& [i, v] : values) f[static_cast<size_t>(i)] = v;
    std::string s;
    for (size_t i = 0; i < f.size(); ++i) s += (i ? "," : "") + f[i];
    return s + "\n";
}

}  // namespace logtest
