#include "logdata/GraphScale.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "logdata/GraphCond.h"

namespace logdata {
namespace {

// x written with n decimals and read back (locale independent, rounded as printf rounds).
double Normalise(double x, int nDecimals) {
    if (!std::isfinite(x)) return x;
    char buf[512];
    auto res = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::fixed, nDecimals);
    if (res.ec != std::errc()) return x;
    double d = 0;
    std::from_chars(buf, res.ptr, d);
    return d;
}

double Pow10(int e) {
    double d = 1;
    for (int i = 0; i < e; ++i) d *= 10;
    return d;
}

// Results of the digital scale below 0.0001 are cut to five decimals.
double CutSmall(double d) {
    return d < 0.0001 ? std::trunc(d * 100000) * 0.00001 : d;
}

}  // namespace

void VisibleSlots(int nTermType, int nStartSlot, int nDispSlots, int nCount, int& nFirst, int& nSlots) {
    if (nTermType == TERM_DAY) {
        nFirst = nStartSlot;
        nSlots = nDispSlots;
    } else {
        nFirst = 0;
        nSlots = nCount;
    }
    nFirst = std::clamp(nFirst, 0, DAY_SLOTS);
    nSlots = std::clamp(nSlots, 0, DAY_SLOTS - nFirst);
}

void GetMinMax(const double* pdValue, const std::uint8_t* pbValid, int nFirst, int nSlots, double& dMax, double& dMin) {
    if (pdValue == nullptr || pbValid == nullptr) return;
    nFirst = std::max(nFirst, 0);
    int nEnd = std::min(nFirst + std::max(nSlots, 0), DAY_SLOTS);
    bool bAny = false;
    double dHi = 0, dLo = 0;
    for (int k = nFirst; k < nEnd; ++k) {
        if (!pbValid[k]) continue;
        double v = pdValue[k];
        if (!bAny) {
            dHi = dLo = v;
            bAny = true;
        } else {
            dHi = std::max(dHi, v);
            dLo = std::min(dLo, v);
        }
    }
    if (!bAny) return;
    if (dHi > dMax) dMax = dHi;
    if (dLo < dMin) dMin = dLo;
}

double CalcScaleMax(double dValue, int nPrecision) {
    if (dValue == 0) return 0;
    const int n = nPrecision >= 100000 ? 5 : 2;
    const double p = nPrecision >= 100000 ? 100000.0 : 100.0;
    const double X = Normalise(dValue, n);
    if (!std::isfinite(X)) return X;
    for (int e = 0; e <= 15; ++e) {
        for (int d = 1; d <= 9; ++d) {
            double q = Normalise(d * Pow10(e) / p, n);
            if (q < X) continue;
            if (q <= 10 / p) return q;
            const double u = Pow10(e - 1 < 0 ? 0 : e - 1) / (e == 0 ? 10 * p : p);
            for (int k = 1; k <= 10; ++k)
                if (X > Normalise(q - k * u, n)) return q - (k - 1) * u;
            return q;
        }
    }
    return X;
}

stAXISSCALE ScaleFromMinMax(double dMax, double dMin, int nDataKind, int nDivY) {
    stAXISSCALE scale;
    scale.dMin = 0;
    double f = CalcScaleMax(dMax, 100);
    if (f < 0.1) f = std::trunc(f * 100) * 0.01;
    if (nDataKind == KIND_COUNT) {
        const int D = nDivY > 0 ? nDivY : 4;
        if (f <= D) {
            scale.dRange = D;
        } else {
            double dUnits = std::ceil(std::trunc(f) / D);
            scale.dRange = D * dUnits;
        }
    } else if (nDataKind == KIND_DIGITAL) {
        if (dMin >= 0) {
            scale.dRange = CutSmall(CalcScaleMax(dMax, 100000));
        } else if (dMax > 0) {
            double L = -dMin;
            double r = CutSmall(CalcScaleMax(2 * std::max(dMax, L), 100000));
            scale.dRange = r;
            scale.dMin = -r / 2;
        } else {
            double r = CutSmall(CalcScaleMax(-dMin, 100000));
            scale.dRange = r;
            scale.dMin = -r;
        }
    } else {
        scale.dRange = f;
    }
    return scale;
}

void CalcGraphScale(stSCALESERIES* pSeries, int nSeries, int nTermType, int nStartSlot, int nDispSlots, int nDivY) {
    if (pSeries == nullptr || nSeries <= 0) return;
    nSeries = std::min(nSeries, 2);
    double mx[2] = {0, 0}, mn[2] = {0, 0};
    bool bHas[2] = {false, false};
    for (int i = 0; i < nSeries; ++i) {
        const stSCALESERIES& s = pSeries[i];
        if (s.pdValue == nullptr) continue;
        bHas[i] = true;
        if (s.nEnable != 1) continue;
        int nFirst = 0, nSlots = 0;
        VisibleSlots(nTermType, nStartSlot, nDispSlots, s.nCount, nFirst, nSlots);
        if (s.nGraphType == 1 && s.nSubCount > 0 && s.ppdSubValue && s.ppbSubValid) {
            for (int j = 0; j < std::min(s.nSubCount, MAX_LINES); ++j)
                GetMinMax(s.ppdSubValue[j], s.ppbSubValid[j], nFirst, nSlots, mx[i], mn[i]);
        } else if (s.nGraphType != 1) {
            GetMinMax(s.pdValue, s.pbValid, nFirst, nSlots, mx[i], mn[i]);
        }
    }
    // A range that overflowed (digital readings near the largest double, doubled for a scale with
    // zero in the middle) is kept out like an empty one: the axis keeps its previous scale.
    auto apply = [&](int i, const stAXISSCALE& scale) {
        if (scale.dRange > 0 && std::isfinite(scale.dRange) && std::isfinite(scale.dMin)) {
            pSeries[i].dRange = scale.dRange;
            pSeries[i].dMin = scale.dMin;
        }
    };
    if (nSeries == 2 && pSeries[0].nDataKind != pSeries[1].nDataKind) {
        for (int i = 0; i < 2; ++i)
            if (bHas[i]) apply(i, ScaleFromMinMax(mx[i], mn[i], pSeries[i].nDataKind, nDivY));
        return;
    }
    double MAX = 0, MIN = 0;
    for (int i = 0; i < nSeries; ++i)
        if (bHas[i]) {
            MAX = std::max(MAX, mx[i]);
            MIN = std::min(MIN, mn[i]);
        }
    stAXISSCALE scale = ScaleFromMinMax(MAX, MIN, pSeries[0].nDataKind, nDivY);
    for (int i = 0; i < nSeries; ++i)
        if (bHas[i]) apply(i, scale);
}

}  // namespace logdata
