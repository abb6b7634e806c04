#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Colours as the drawing code uses them: 0x00BBGGRR, made with RGB(red, green, blue).
#ifndef LUMETRA_COLORREF_DEFINED
#define LUMETRA_COLORREF_DEFINED
using COLORREF = std::uint32_t;
constexpr COLORREF RGB(int r, int g, int b) {
    return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int GetRValue(COLORREF cr) {
    return static_cast<int>(cr & 0xFF);
}
constexpr int GetGValue(COLORREF cr) {
    return static_cast<int>((cr >> 8) & 0xFF);
}
constexpr int GetBValue(COLORREF cr) {
    return static_cast<int>((cr >> 16) & 0xFF);
}
#endif

// The most slots a series holds (a day of 15-minute slots); every loop over slots stops at slot 95.
constexpr int GRAPH_MAX_SLOTS = 96;
// The most lines of a line graph, both conditions together.
constexpr int GRAPH_MAX_LINES = 20;

// Series colours of condition 1 and condition 2.
constexpr COLORREF GRAPH_COLOR_COND1 = RGB(0, 0, 255);
constexpr COLORREF GRAPH_COLOR_COND2 = RGB(0, 192, 0);

// The line colour table: line k of condition 1 takes entry k, line k of condition 2 entry
// k + (lines of condition 1). Entries 7 and 17 are the same colour.
constexpr int GRAPH_LINE_COLORS = 21;
extern const COLORREF g_crLineColor[GRAPH_LINE_COLORS];

// One drawn series (one condition of the graph). Copied by value: the value arrays are not
// copied, only the pointers, which refer to buffers owned by whoever loaded the data.
struct stGRAPHDEF {
    int nEnable = 0;                        // 1 once the series holds loaded data
    int nScalePos = -1;                     // side of the value scale: -1 none, 0 left, 1 right
    int nUnitPos = -1;                      // side of the unit caption: -1 none, 0 left, 1 right
    double dRange = 18.0;                   // span of the value axis (top value minus dMin)
    COLORREF crColor = 0;                   // bar fill, and line colour without per-number lines
    int nCount = 0;                         // slots holding data: 24/48/96 a day, days of the month, 12 a year
    int nGraphType = 0;                     // 0 bar graph, 1 line graph
    const std::uint8_t* pbValid = nullptr;  // per slot: non-zero when the slot has a value
    const double* pdValue = nullptr;        // per slot: the summed value
    std::string strUnit;                    // unit caption of the value axis ("kWh", or empty)
    std::string strName;                    // condition name ("Cond1")
    std::string strKind;                    // indication label ("kWh", "Count", "Digital")
    double dMin = 0.0;                      // value at the bottom of the value axis (0 or negative)
    int bMulti = 0;                         // 1 when the series carries one line per meter number and circuit
    int nSelect = -1;                       // highlighted line, -1 none
    const double* pdSubValue[GRAPH_MAX_LINES] = {};
    const std::uint8_t* pbSubValid[GRAPH_MAX_LINES] = {};
    COLORREF crSubColor[GRAPH_MAX_LINES] = {};
    int nSubCount = 0;      // lines in use, 0..20
    std::string strSelect;  // legend label of the highlighted line ("07-0-1")
};

// Period kinds of a graph.
enum : int { TERM_DAY = 0, TERM_MONTH = 1, TERM_YEAR = 2 };

// Slots of a period before a load sets them: 24 hours, 31 days or 12 months.
int DefaultSlotCount(int nTermType);

// The series list that the graph area and the data grid each keep (index 0 = condition 1).

// Appends a copy of *pDef unless nMaxGraph series are already held. The new index; 0 without a
// record; -1 when the list is full or memory runs out, in which case fnLackOfMemory (when set)
// is handed "System error [Lack of memory]" to show.
int AddGraphDef(std::vector<stGRAPHDEF>& arrGraph, int nMaxGraph, const stGRAPHDEF* pDef,
                const std::function<void(const std::string&)>& fnLackOfMemory);
// Replaces the record at the index with a copy; false (nothing changed) for an index outside the list.
bool ReplaceGraphDef(std::vector<stGRAPHDEF>& arrGraph, int nIndex, const stGRAPHDEF& def);
// Highlights line nLine of a multi-line series (-1 when nLine is negative or not below nSubCount)
// with its legend label; a series without lines or an index outside the list is left alone.
void SelectGraphLine(std::vector<stGRAPHDEF>& arrGraph, int nGraph, int nLine, const std::string& strLabel);
