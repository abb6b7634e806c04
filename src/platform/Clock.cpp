#include "platform/Clock.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <mutex>

namespace platform {
namespace {

std::mutex g_mutex;
std::optional<LocalTime> g_fixed;
bool g_envRead = false;

}  // namespace

bool operator==(const LocalTime& a, const LocalTime& b) {
    return a.nYear == b.nYear && a.nMonth == b.nMonth && a.nDay == b.nDay && a.nHour == b.nHour &&
           a.nMinute == b.nMinute && a.nSecond == b.nSecond;
}

bool IsLeapYear(int nYear) { return (nYear % 4 == 0 && nYear % 100 != 0) || nYear % 400 == 0; }

int DaysInMonth(int nYear, int nMonth) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (nMonth < 1 || nMonth > 12) return 0;
    return nMonth == 2 && IsLeapYear(nYear) ? 29 : days[nMonth - 1];
}

int DayOfWeek(int nYear, int nMonth, int nDay) {
    // Sakamoto's method, proleptic Gregorian calendar.
    static const int t[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    if (nMonth < 3) nYear -= 1;
    int m = (nMonth >= 1 && nMonth <= 12) ? nMonth : 1;
    int r = (nYear + nYear / 4 - nYear / 100 + nYear / 400 + t[m - 1] + nDay) % 7;
    return r < 0 ? r + 7 : r;
}

std::optional<LocalTime> ParseLocalTime(const std::string& strText) {
    LocalTime t;
    int consumed = 0;
    int n = std::sscanf(strText.c_str(), "%d-%d-%d %d:%d:%d%n", &t.nYear, &t.nMonth, &t.nDay, &t.nHour,
                        &t.nMinute, &t.nSecond, &consumed);
    if (n != 6) {
        t = LocalTime();
        consumed = 0;
        n = std::sscanf(strText.c_str(), "%d-%d-%d%n", &t.nYear, &t.nMonth, &t.nDay, &consumed);
        if (n != 3) return std::nullopt;
    }
    if (static_cast<size_t>(consumed) != strText.size()) return std::nullopt;
    if (t.nYear < 1 || t.nYear > 9999 || DaysInMonth(t.nYear, t.nMonth) < t.nDay || t.nDay < 1 || t.nHour < 0 ||
        t.nHour > 23 || t.nMinute < 0 || t.nMinute > 59 || t.nSecond < 0 || t.nSecond > 59)
        return std::nullopt;
    t.nDayOfWeek = DayOfWeek(t.nYear, t.nMonth, t.nDay);
    return t;
}

LocalTime CClock::Now() {
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        if (!g_envRead) {
            g_envRead = true;
            if (const char* env = std::getenv("LUMETRA_NOW"); env && !g_fixed)
                g_fixed = ParseLocalTime(env);
        }
        if (g_fixed) return *g_fixed;
    }
    std::time_t now = std::time(nullptr);
    std::tm tm {};
    localtime_r(&now, &tm);
    LocalTime t;
    t.nYear = tm.tm_year + 1900;
    t.nMonth = tm.tm_mon + 1;
    t.nDay = tm.tm_mday;
    t.nHour = tm.tm_hour;
    t.nMinute = tm.tm_min;
    t.nSecond = tm.tm_sec;
    t.nDayOfWeek = tm.tm_wday;
    return t;
}

void CClock::SetFixed(std::optional<LocalTime> fixed) {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_envRead = true;
    g_fixed = fixed;
}

}  // namespace platform
