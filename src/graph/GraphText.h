#pragma once
#include <string>
#include <vector>

// Texts of the graph area and the data grid: pure functions, no drawing.

// String numbers of the texts the graph controls use.
enum : int {
    IDS_UNIT_KWH = 201,
    IDS_AXIS_HOUR = 203,
    IDS_AXIS_DAY = 204,
    IDS_AXIS_MONTH = 205,
    IDS_KIND_KWH = 211,
    IDS_KIND_COUNT = 212,
    IDS_KIND_DIGITAL = 213,
    IDS_FMT_POWER = 221,
    IDS_COND_NAME = 223,
    IDS_FMT_DIGITAL = 228,
    IDS_LOADING_CAPTION = 2011,
    IDS_LOADING_TEXT = 2012,
};

// A text of the current resource module (English when it lacks the number).
std::string GraphString(int nId);

// printf of one double with a format from the resource module. A format that does not hold
// exactly one floating conversion (a damaged module) is replaced by strFallback, so a bad
// module can never make the program read arguments it did not pass.
std::string FormatDoubleSafe(const std::string& strFormat, double dValue, const char* strFallback);
// The same for one int ("Cond%d").
std::string FormatIntSafe(const std::string& strFormat, int nValue, const char* strFallback);

// Multiplier exponent of a value scale: the smallest multiple of 3 with
// max(|dMin + dRange|, |dMin|) / 10^h below 10000. 0 for values that are not finite.
int ScaleExponent(double dRange, double dMin);

// The nDivY + 1 labels of a value scale from the bottom up, divided by 10^nExponent and all
// written with the same number of decimals (the most any of them needs, at most 7).
std::vector<std::string> ScaleLabels(double dRange, double dMin, int nDivY, int nExponent);

// The unit caption: the unit, or "x1000 kWh" (multiplier, a blank, the unit) for nExponent >= 1.
std::string UnitCaption(const std::string& strUnit, int nExponent);

// "%02d:%02d" of the time nMinutes after midnight (wraps at a day).
std::string ClockLabel(long long nMinutes);

// Label of slot column k of a day graph (start time of the slot): "%02d" of the hour for a view of
// 48 slots, "%d" of the hour for 96, "%02d:%02d" otherwise.
std::string DaySlotLabel(int nStartSlot, int nInterval, int nDispSlots, int k);

// Text of one value cell of the data grid (value already found to be valid and inside the
// limit): power with string 221 ("%.2f"), digital with FormatNumber (12, no grouping),
// count as the value truncated toward zero.
enum class GridValueKind { Power, Digital, Count };
std::string GridValueText(double dValue, GridValueKind eKind);
// The kind of a series from its unit and kind texts.
GridValueKind GridKindOf(const std::string& strUnit, const std::string& strKind);
