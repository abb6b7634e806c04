#include "cli/CliRun.h"

#ifdef LUMETRA_GRAPH_IMAGES
#include "graph/qt/GraphImage.h"
#endif

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <iostream>

#include "logdata/DataFolder.h"
#include "platform/PathUtil.h"

namespace cli {

std::string JsonNumber(double d) {
    if (!std::isfinite(d)) return "null";
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, d);
    return std::string(buf, res.ptr);
}

namespace {

std::string JsonString(const std::string& s) {
    std::string out = "\"";
    for (unsigned char c : s) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            out += buf;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

template <typename T, typename F>
std::string JsonArray(const T* p, int n, F fmt) {
    std::string s = "[";
    for (int i = 0; i < n; ++i) {
        if (i) s += ',';
        s += fmt(p[i]);
    }
    return s + "]";
}

const char* PeriodName(int nTermType) {
    return nTermType == logdata::TERM_MONTH ? "month" : nTermType == logdata::TERM_YEAR ? "year" : "day";
}

// The label of a slot: the start time of a day slot, the day of a month, the month of a year.
std::string SlotLabel(const stCLIGRAPH& g, int k) {
    char buf[32];
    if (g.nTermType == logdata::TERM_DAY) {
        int nMin = k * logdata::IntervalMinutes(g.cond.nIntervalKind);
        std::snprintf(buf, sizeof buf, "%02d:%02d", nMin / 60, nMin % 60);
    } else {
        std::snprintf(buf, sizeof buf, "%d", k + 1);
    }
    return buf;
}

std::string CsvCell(const std::string& s) {
    if (s.find_first_of(",\"\n\r") == std::string::npos) return s;
    std::string out = "\"";
    for (char c : s) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

}  // namespace

stCLIGRAPH LoadCliGraph(const stCLIOPTIONS& o) {
    stCLIGRAPH g;
    g.nTermType = o.nTermType;
    g.cond.nYear = o.date.nYear;
    g.cond.nMonth = o.date.nMonth;
    g.cond.nDay = o.date.nDay;
    g.cond.nIntervalKind = o.nIntervalKind;
    g.cond.nDataKind = o.nDataKind;
    g.cond.nGraphType = o.nGraphType;
    g.cond.wSelect = o.wSelect;

    logdata::stLOADSETTINGS settings;
    settings.strDataPath = o.strData;
    settings.strStartDir = platform::CurrentDir();
    settings.dCO2Rate = o.dCO2Rate;
    settings.now = o.now ? *o.now : platform::CClock::Now();
    std::vector<int> numbers;
    logdata::ScanNumbers(logdata::BaseFolder(o.strData, settings.strStartDir), settings.byDevModel, numbers);

    logdata::CGraphLoader loader(settings);
    loader.LoadGraphData(g.nTermType, &g.cond, 1, 1, nullptr);
    g.data = loader.Data(0);
    g.dCharge = g.data.dTotal * o.dPrice;

    // The axis scaling after a load, for this condition alone, from a fresh record.
    const double* lines[logdata::MAX_LINES];
    const std::uint8_t* valid[logdata::MAX_LINES];
    for (int j = 0; j < logdata::MAX_LINES; ++j) {
        lines[j] = g.data.lines[static_cast<std::size_t>(j)].dValue.data();
        valid[j] = g.data.lines[static_cast<std::size_t>(j)].bHas.data();
    }
    logdata::stSCALESERIES s;
    s.nEnable = 1;
    s.nCount = g.data.nSlotCount;
    s.nGraphType = g.cond.nGraphType;
    s.nDataKind = g.cond.nDataKind;
    s.pdValue = g.data.dSlotSum.data();
    s.pbValid = g.data.bSlotHas.data();
    s.nSubCount = g.cond.nGraphType == logdata::GRAPH_LINE ? g.data.nLineCount : 0;
    s.ppdSubValue = lines;
    s.ppbSubValid = valid;
    logdata::CalcGraphScale(&s, 1, g.nTermType, 0, g.data.nSlotCount, 4);
    g.scale.dRange = s.dRange;
    g.scale.dMin = s.dMin;
    return g;
}

std::string GraphJson(const stCLIGRAPH& g) {
    const logdata::stCONDDATA& d = g.data;
    const int n = d.nSlotCount;
    auto num = [](double v) { return JsonNumber(v); };
    auto flag = [](std::uint8_t b) { return std::string(b ? "1" : "0"); };
    std::string s = "{\"period\":\"" + std::string(PeriodName(g.nTermType)) + "\",\"slots\":" + std::to_string(n) +
                    ",\"conditions\":[{";
    s +=
        "\"total\":" + JsonNumber(d.dTotal) + ",\"co2\":" + JsonNumber(d.dCO2) + ",\"charge\":" + JsonNumber(g.dCharge);
    s += ",\"values\":" + JsonArray(d.dSlotSum.data(), n, num);
    s += ",\"valid\":" + JsonArray(d.bSlotHas.data(), n, flag);
    if (g.cond.nGraphType == logdata::GRAPH_LINE) {
        s += ",\"lines\":[";
        for (int j = 0; j < d.nLineCount; ++j) {
            const logdata::stGRAPHLINE& line = d.lines[static_cast<std::size_t>(j)];
            if (j) s += ',';
            s += "{\"label\":" + JsonString(line.strLabel) + ",\"values\":" + JsonArray(line.dValue.data(), n, num) +
                 ",\"valid\":" + JsonArray(line.bHas.data(), n, flag) + "}";
        }
        s += "]";
    }
    s += ",\"scale\":{\"range\":" + JsonNumber(g.scale.dRange) + ",\"min\":" + JsonNumber(g.scale.dMin) + "}";
    s += "}]}\n";
    return s;
}

std::string GraphCsv(const stCLIGRAPH& g) {
    const logdata::stCONDDATA& d = g.data;
    const int nLines = g.cond.nGraphType == logdata::GRAPH_LINE ? d.nLineCount : 0;
    std::string s = "slot,sum";
    for (int j = 0; j < nLines; ++j) {
        s += ',';
        s += CsvCell(d.lines[static_cast<std::size_t>(j)].strLabel);
    }
    s += "\n";
    auto cell = [](double v, std::uint8_t b) { return b ? JsonNumber(v) : std::string(); };
    for (int k = 0; k < d.nSlotCount && k < logdata::DAY_SLOTS; ++k) {
        const std::size_t i = static_cast<std::size_t>(k);
        s += SlotLabel(g, k);
        s += ',';
        s += cell(d.dSlotSum[i], d.bSlotHas[i]);
        for (int j = 0; j < nLines; ++j) {
            const logdata::stGRAPHLINE& line = d.lines[static_cast<std::size_t>(j)];
            s += ',';
            s += cell(line.dValue[i], line.bHas[i]);
        }
        s += "\n";
    }
    s += "total," + JsonNumber(d.dTotal) + "\n";
    s += "co2," + JsonNumber(d.dCO2) + "\n";
    s += "charge," + JsonNumber(g.dCharge) + "\n";
    return s;
}

std::string ScanJson(const std::string& strData) {
    logdata::DevModelTable models{};
    std::vector<int> numbers;
    logdata::ScanNumbers(strData, models, numbers);
    std::string s = "{\"numbers\":[";
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        if (i) s += ',';
        s += std::to_string(numbers[i]);
    }
    s += "],\"models\":{";
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%s\"%02d\":%d", i ? "," : "", numbers[i],
                      models[static_cast<std::size_t>(numbers[i])]);
        s += buf;
    }
    return s + "}}\n";
}

bool WriteOutput(const std::string& strPath, const std::string& strText, std::string& strError) {
    if (strPath == "-") {
        std::fwrite(strText.data(), 1, strText.size(), stdout);
        std::fflush(stdout);
        return !std::ferror(stdout);
    }
    // A temporary file in the destination folder, flushed, then renamed over the name.
    std::string strTemp = strPath + ".tmp-XXXXXX";
    int fd = ::mkstemp(strTemp.data());
    if (fd < 0) {
        strError = "cannot write " + strPath + ": " + std::strerror(errno);
        return false;
    }
    std::size_t nDone = 0;
    bool bOk = true;
    while (nDone < strText.size()) {
        ssize_t n = ::write(fd, strText.data() + nDone, strText.size() - nDone);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            bOk = false;
            break;
        }
        nDone += static_cast<std::size_t>(n);
    }
    if (bOk && ::fsync(fd) != 0) bOk = false;
    ::fchmod(fd, 0644);
    if (::close(fd) != 0) bOk = false;
    if (bOk && ::rename(strTemp.c_str(), strPath.c_str()) != 0) bOk = false;
    if (!bOk) {
        strError = "cannot write " + strPath + ": " + std::strerror(errno);
        ::unlink(strTemp.c_str());
    }
    return bOk;
}

int RunCli(const stCLIOPTIONS& o, std::ostream& err) {
    struct stat st {};
    if (::stat(o.strData.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        err << "lumetra-cli: data folder does not exist: " << o.strData << "\n";
        return 1;
    }
    std::string strError;
    if (o.command == Command::Scan) {
        if (!WriteOutput("-", ScanJson(o.strData), strError)) {
            err << "lumetra-cli: " << strError << "\n";
            return 1;
        }
        return 0;
    }
#ifndef LUMETRA_GRAPH_IMAGES
    if (!o.strImage.empty()) {
        err << "lumetra-cli: graph images need the GUI build of lumetra-cli (LUMETRA_GUI=ON)\n";
        return 1;
    }
#endif
    stCLIGRAPH g = LoadCliGraph(o);
    bool bOk = true;
    if (!o.strJson.empty()) bOk = WriteOutput(o.strJson, GraphJson(g), strError) && bOk;
    if (bOk && !o.strCsv.empty()) bOk = WriteOutput(o.strCsv, GraphCsv(g), strError) && bOk;
#ifdef LUMETRA_GRAPH_IMAGES
    if (bOk && !o.strImage.empty())
        bOk = WriteGraphImage(g.cond, g.nTermType, g.data, o.strView, o.strImage, &strError);
#endif
    if (bOk && o.strJson.empty() && o.strCsv.empty() && o.strImage.empty())
        bOk = WriteOutput("-", GraphJson(g), strError);
    if (!bOk) {
        err << "lumetra-cli: " << strError << "\n";
        return 1;
    }
    return 0;
}

}  // namespace cli
