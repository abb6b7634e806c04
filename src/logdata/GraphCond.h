#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "platform/Clock.h"

namespace logdata {

// Period kinds of a graph (nTermType).
enum : int { TERM_DAY = 0, TERM_MONTH = 1, TERM_YEAR = 2 };

// Display interval of a day graph (nIntervalKind).
enum : int { INTERVAL_60 = 0, INTERVAL_30 = 1, INTERVAL_15 = 2 };

// Indication data (nDataKind).
enum : int { KIND_POWER = 0, KIND_COUNT = 1, KIND_DIGITAL = 2 };

// Graph type (nGraphType).
enum : int { GRAPH_BAR = 0, GRAPH_LINE = 1 };

// Device model codes of the device model table (byDevModel) and of the folder detection.
enum : int { MODEL_NONE = 0, MODEL_LX30A = 1, MODEL_LX50A = 2, MODEL_BOTH = 255 };

// Expansion unit types.
enum : int { UNIT_NONE = 0, UNIT_POWER = 1, UNIT_PULSE = 2, UNIT_ANALOG = 3, UNIT_UNCLEAR = 255 };

constexpr int METER_COUNT = 100;  // meter numbers 00..99
constexpr int MAX_LINES = 20;     // lines of a line graph, both conditions together
constexpr int DAY_SLOTS = 96;     // quarter hours of a day

// The device model table: one byte per meter number 00..99.
using DevModelTable = std::array<std::uint8_t, METER_COUNT>;

// One condition of a graph: which numbers (and circuits) are added up, for which period, which
// kind of value and how it is drawn.
struct stGRAPHCOND {
    std::int32_t nYear = 2000;
    std::int32_t nMonth = 1;
    std::int32_t nDay = 1;
    std::int32_t nIntervalKind = INTERVAL_60;  // day graphs only; 0 for month and year graphs
    std::int32_t nDataKind = KIND_POWER;
    std::int32_t nGraphType = GRAPH_BAR;  // always bar for electric power
    // Per meter number: 0 not selected; LX30-A 1 = selected; LX50-A a circuit mask
    // (bit 2u circuit 1 and bit 2u+1 circuit 2 of unit u, unit 0 the main unit).
    std::array<std::uint16_t, METER_COUNT> wSelect{};
    std::string strFavorite;  // favorite the numbers came from; empty when picked one by one

    // A fresh record: the given date, interval 60 minutes, electric power, bars, nothing selected.
    static stGRAPHCOND Fresh(const platform::LocalTime& today);
};

// Copies every field of the source into the destination; returns the destination.
stGRAPHCOND& CopyGraphCond(stGRAPHCOND& dst, const stGRAPHCOND& src);

// "LX30-A" for 1, "LX50-A" for 2, empty otherwise.
std::string DevModelName(int nModel);

// Slots of a condition: a day 24, 48 or 96 by interval, a month its days, a year 12; 0 for a bad
// period kind.
int SlotCount(const stGRAPHCOND& cond, int nTermType);

// Minutes per slot of a day graph by interval kind (60, 30, 15).
int IntervalMinutes(int nIntervalKind);

}  // namespace logdata
