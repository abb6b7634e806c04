#pragma once
#include <optional>
#include <string>

namespace platform {

// A local calendar time, compared and used by its wall-clock parts only.
struct LocalTime {
    int nYear = 1970;
    int nMonth = 1;   // 1..12
    int nDay = 1;     // 1..31
    int nHour = 0;
    int nMinute = 0;
    int nSecond = 0;
    int nDayOfWeek = 4;  // 0 Sunday .. 6 Saturday
};

bool operator==(const LocalTime& a, const LocalTime& b);

// The program's clock. Now() is the local time, unless a fixed time was set
// (tests, `lumetra-cli --now`) or LUMETRA_NOW="YYYY-MM-DD HH:MM:SS" is in the
// environment at the first call.
class CClock {
public:
    static LocalTime Now();
    static void SetFixed(std::optional<LocalTime> fixed);
};

// "YYYY-MM-DD HH:MM:SS" or "YYYY-MM-DD" to a time; nothing for text that is
// not such a date or names a day that does not exist.
std::optional<LocalTime> ParseLocalTime(const std::string& strText);

bool IsLeapYear(int nYear);
int DaysInMonth(int nYear, int nMonth);  // 0 for a month outside 1..12
int DayOfWeek(int nYear, int nMonth, int nDay);

}  // namespace platform
