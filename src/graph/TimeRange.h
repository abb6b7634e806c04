#pragma once
#include <string>

// The time-range buttons of a day graph: which part of the day is visible. A button's part,
// parts and offset give, for N slots of the day, V = N / parts slots starting at offset + part x V;
// a negative part (or no parts) is the whole day.
struct stTIMERANGE {
    int nId;              // control id of the button in the graph window
    const char* strName;  // as the command-line tool names it ("0-6", "whole")
    int nInterval;        // minutes per slot of the days that show the button (0: every day graph)
    int nPart;
    int nParts;
    int nOffset;
};

// The button of a name offered for a day of nInterval minutes ("whole" for every period), or
// nullptr when no such button is shown for it (hourly days and month and year graphs show none).
const stTIMERANGE* FindTimeRange(const std::string& strName, int nTermType, int nInterval);
// The button with a control id, or nullptr.
const stTIMERANGE* FindTimeRangeById(int nId);

// First slot and slot count of a range for a day of nSlots slots.
void TimeRangeSlots(const stTIMERANGE& range, int nSlots, int& nStartSlot, int& nDispSlots);

// The names the command-line tool accepts, for messages: "whole|0-6|6-12|...".
std::string TimeRangeNames();
