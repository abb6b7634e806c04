#pragma once
#include <cstdint>

// Value-axis scaling of the graph area: plain arithmetic, no drawing.
namespace logdata {

// The slots of a series that are visible: a day graph from nStartSlot for nDispSlots slots, a
// month or year graph 0..nCount-1; never beyond slot 95. Sets the first slot and the slot count.
void VisibleSlots(int nTermType, int nStartSlot, int nDispSlots, int nCount, int& nFirst, int& nSlots);

// Widens dMax/dMin by the values of the slots [nFirst, nFirst + nSlots) whose validity byte is not
// 0 (slots beyond 95 are never read). Without such a value both stay.
void GetMinMax(const double* pdValue, const std::uint8_t* pbValid, int nFirst, int nSlots, double& dMax, double& dMin);

// The top of the value axis for a maximum: the value taken up to two significant digits (one
// significant digit, at least 1/precision, when it is not above 10/precision): 123 gives 130,
// 12345 gives 13000, 0.05 stays 0.05, 200 stays 200. The precision is 100 or 100000.
double CalcScaleMax(double dValue, int nPrecision);

// Range and origin of a value axis.
struct stAXISSCALE {
    double dRange = 18.0;
    double dMin = 0.0;
};

// The scale for a maximum and minimum of a data kind (0 power, 1 count, 2 digital) with nDivY
// divisions. The range may come out 0 or less; the caller then keeps its previous scale.
stAXISSCALE ScaleFromMinMax(double dMax, double dMin, int nDataKind, int nDivY);

// What the axis scaling needs of one series (one condition).
struct stSCALESERIES {
    int nEnable = 0;  // 1 once the series holds loaded data
    int nCount = 0;
    int nGraphType = 0;  // 0 bar graph (its sums), 1 line graph (each of its lines)
    int nDataKind = 0;
    const double* pdValue = nullptr;
    const std::uint8_t* pbValid = nullptr;
    int nSubCount = 0;
    const double* const* ppdSubValue = nullptr;        // nSubCount line arrays
    const std::uint8_t* const* ppbSubValid = nullptr;  // nSubCount line arrays
    double dRange = 18.0;  // in: the previous scale; out: the new one when its range is above 0
    double dMin = 0.0;
};

// The axis scaling after a load over one or two series: every axis includes 0; two series of
// different data kinds get a scale each, otherwise one common scale by the kind of the first.
void CalcGraphScale(stSCALESERIES* pSeries, int nSeries, int nTermType, int nStartSlot, int nDispSlots, int nDivY);

}  // namespace logdata
