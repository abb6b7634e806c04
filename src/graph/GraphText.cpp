#include "graph/GraphText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

#include "platform/ResourceModule.h"
#include "platform/TextHelpers.h"

std::string GraphString(int nId) {
    return platform::LoadStr(nId);
}

namespace {

// Counts printf conversions; sets cConv to the last conversion letter. "%%" is not one.
int CountConversions(const std::string& strFormat, char& cConv) {
    int nCount = 0;
    for (size_t i = 0; i < strFormat.size(); ++i) {
        if (strFormat[i] != '%') continue;
        ++i;
        if (i < strFormat.size() && strFormat[i] == '%') continue;
        // flags, width, precision; no '*' (it would read an argument)
        while (i < strFormat.size() && std::string_view("-+ #0123456789.").find(strFormat[i]) != std::string_view::npos)
            ++i;
        if (i >= strFormat.size()) return -1;
        cConv = strFormat[i];
        ++nCount;
    }
    return nCount;
}

bool IsOneConversion(const std::string& strFormat, std::string_view allowed) {
    char cConv = 0;
    return CountConversions(strFormat, cConv) == 1 && allowed.find(cConv) != std::string_view::npos;
}

}  // namespace

std::string FormatDoubleSafe(const std::string& strFormat, double dValue, const char* strFallback) {
    const char* fmt = IsOneConversion(strFormat, "fFeEgG") ? strFormat.c_str() : strFallback;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    return platform::FormatPrintf(fmt, dValue);
#pragma GCC diagnostic pop
}

std::string FormatIntSafe(const std::string& strFormat, int nValue, const char* strFallback) {
    const char* fmt = IsOneConversion(strFormat, "di") ? strFormat.c_str() : strFallback;
    char buf[512];
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    int n = std::snprintf(buf, sizeof buf, fmt, nValue);
#pragma GCC diagnostic pop
    if (n < 0) return {};
    return std::string(buf, std::min(static_cast<size_t>(n), sizeof buf - 1));
}

int ScaleExponent(double dRange, double dMin) {
    double dValue = std::max(std::fabs(dMin + dRange), std::fabs(dMin));
    if (!std::isfinite(dValue)) return 0;
    return platform::ThousandsExponent(dValue);
}

std::vector<std::string> ScaleLabels(double dRange, double dMin, int nDivY, int nExponent) {
    std::vector<std::string> labels;
    if (nDivY <= 0) return labels;
    const double dMul = std::pow(10.0, nExponent);
    std::vector<double> values;
    int nDecimals = 0;
    for (int i = 0; i <= nDivY; ++i) {
        double v = (dRange / nDivY * i + dMin) / dMul;
        values.push_back(v);
        const std::string strText = platform::FormatPrintf("%.7f", v);
        const char* pDot = std::strchr(strText.c_str(), '.');
        if (pDot == nullptr) continue;
        int nSig = 0;
        for (int k = 1; pDot[k] != '\0'; ++k) {
            if (pDot[k] >= '1' && pDot[k] <= '9') nSig = k;
        }
        nDecimals = std::max(nDecimals, std::min(nSig, 7));
    }
    for (double v : values) labels.push_back(platform::FormatPrintf("%.*f", nDecimals, v));
    return labels;
}

std::string UnitCaption(const std::string& strUnit, int nExponent) {
    if (nExponent < 1) return strUnit;
    return platform::FormatPrintf("x%.0f", std::pow(10.0, nExponent)) + " " + strUnit;
}

std::string ClockLabel(long long nMinutes) {
    long long nDay = ((nMinutes % 1440) + 1440) % 1440;
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d:%02d", static_cast<int>(nDay / 60), static_cast<int>(nDay % 60));
    return buf;
}

std::string DaySlotLabel(int nStartSlot, int nInterval, int nDispSlots, int k) {
    long long nMinutes = (static_cast<long long>(nStartSlot) + k) * nInterval;
    long long nDay = ((nMinutes % 1440) + 1440) % 1440;
    int nHour = static_cast<int>(nDay / 60);
    char buf[16];
    if (nDispSlots == 48) {
        std::snprintf(buf, sizeof buf, "%02d", nHour);
    } else if (nDispSlots == 96) {
        std::snprintf(buf, sizeof buf, "%d", nHour);
    } else {
        return ClockLabel(nMinutes);
    }
    return buf;
}

GridValueKind GridKindOf(const std::string& strUnit, const std::string& strKind) {
    if (!strUnit.empty()) return GridValueKind::Power;
    if (strKind == GraphString(IDS_KIND_DIGITAL)) return GridValueKind::Digital;
    return GridValueKind::Count;
}

std::string GridValueText(double dValue, GridValueKind eKind) {
    switch (eKind) {
        case GridValueKind::Power:
            return FormatDoubleSafe(GraphString(IDS_FMT_POWER), dValue, "%.2f");
        case GridValueKind::Digital:
            return platform::FormatNumber(dValue, 12, false);
        case GridValueKind::Count:
        default: {
            double t = std::trunc(dValue);
            // The grid limit keeps values far inside the int range; guard anyway.
            if (!(t >= std::numeric_limits<int>::min() && t <= std::numeric_limits<int>::max())) return "---";
            char buf[16];
            std::snprintf(buf, sizeof buf, "%d", static_cast<int>(t));
            return buf;
        }
    }
}
