#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "graph/GraphDisplay.h"
#include "graph/RecordingCanvas.h"

namespace {

// A progress view that records what the load showed and can cancel after a number of steps.
class CScriptedProgress : public CLoadProgressView {
public:
    int nCancelAfter = -1;  // steps after which Cancel is pressed; -1 never
    std::string strCaption, strText;
    int nRange = -1;
    int nSteps = 0;
    int nOpened = 0, nClosed = 0;
    bool bOpenDuringStep = true;

    void Open(const std::string& c, const std::string& t) override {
        strCaption = c;
        strText = t;
        ++nOpened;
    }
    void SetRange(int n) override { nRange = n; }
    void Step(int n) override {
        bOpenDuringStep = bOpenDuringStep && nOpened > nClosed;
        nSteps += n;
        if (nCancelAfter >= 0 && nSteps >= nCancelAfter) m_bContinue = false;
    }
    void Close() override { ++nClosed; }
    bool Continue() const override { return m_bContinue; }
    void SetContinue(bool b) override { m_bContinue = b; }

private:
    bool m_bContinue = false;
};

struct CTempDataFolder {
    std::string strPath;
    CTempDataFolder() {
        std::string tmpl = (std::filesystem::temp_directory_path() / "lumetra-graph-XXXXXX").string();
        if (::mkdtemp(tmpl.data()) != nullptr) strPath = tmpl;
    }
    ~CTempDataFolder() {
        std::error_code ec;
        std::filesystem::remove_all(strPath, ec);
    }
};

logdata::stLOADSETTINGS Settings(const std::string& strData) {
    logdata::stLOADSETTINGS s;
    s.strDataPath = strData;
    s.strStartDir = strData;
    s.now = platform::LocalTime{2024, 6, 15, 12, 0, 0, 6};
    return s;
}

// The graph window's pieces: two fresh records added to graph area and grid.
struct CDisplayFixture {
    CGraphArea_Bar area;
    CDataGrid grid;
    CGraphDisplay display;
    logdata::stGRAPHCOND cond[2];
    explicit CDisplayFixture(int nTermType, int nConds = 1)
        : area(nTermType, 0.92, 0.85), grid(nTermType, 0.9999, 0.9999), display(area, grid) {
        for (int i = 0; i < nConds; ++i) {
            stGRAPHDEF def;
            def.crColor = i == 0 ? GRAPH_COLOR_COND1 : GRAPH_COLOR_COND2;
            def.strUnit = "kWh";
            def.strName = "Cond" + std::to_string(i + 1);
            area.AddGraph(&def);
            grid.AddGraph(&def);
            cond[i].nYear = 2024;
            cond[i].nMonth = 5;
            cond[i].nDay = 1;
            cond[i].wSelect[7] = 1;
        }
        display.SetConditions(nTermType, &cond[0], nConds == 2 ? &cond[1] : nullptr);
    }
};

// Loaded data of a condition with nLines lines labelled "07-0-1" ... and slot k = k of line j + j.
logdata::stCONDDATA Data(int nSlots, int nLines) {
    logdata::stCONDDATA d;
    d.nSlotCount = nSlots;
    for (int k = 0; k < nSlots; ++k) {
        d.dSlotSum[static_cast<size_t>(k)] = k;
        d.bSlotHas[static_cast<size_t>(k)] = 1;
    }
    d.nLineCount = nLines;
    for (int j = 0; j < nLines; ++j) {
        auto& line = d.lines[static_cast<size_t>(j)];
        line.strLabel = "07-" + std::to_string(j / 2) + "-" + std::to_string(j % 2 + 1);
        for (int k = 0; k < nSlots; ++k) {
            line.dValue[static_cast<size_t>(k)] = k + j;
            line.bHas[static_cast<size_t>(k)] = 1;
        }
    }
    d.dTotal = 12.5;
    d.dCO2 = 0.005125;
    return d;
}

}  // namespace

TEST(GraphDisplayDefs, FillsTheRecordOfABarCondition) {
    CDisplayFixture f(TERM_DAY);
    f.cond[0].nIntervalKind = logdata::INTERVAL_15;
    f.display.SetGraphDefs(0, f.cond[0], Data(96, 0));
    const stGRAPHDEF& def = f.area.GetGraph(0);
    EXPECT_EQ(def.nEnable, 1);
    EXPECT_EQ(def.nCount, 96);
    EXPECT_EQ(def.nGraphType, 0);
    EXPECT_EQ(def.bMulti, 0);
    EXPECT_EQ(def.nScalePos, 0);
    EXPECT_EQ(def.nUnitPos, 0);
    EXPECT_EQ(def.strUnit, "kWh");
    EXPECT_EQ(def.strKind, "kWh");
    EXPECT_EQ(def.strName, "Cond1");
    EXPECT_EQ(def.crColor, GRAPH_COLOR_COND1);
    EXPECT_EQ(def.nSelect, -1);
    ASSERT_NE(def.pdValue, nullptr);
    EXPECT_EQ(def.pdValue[95], 95.0);
    EXPECT_EQ(def.pbValid[95], 1);
    EXPECT_EQ(f.grid.GetGraph(0).pdValue, def.pdValue);  // both point at the shown sums
    EXPECT_EQ(f.display.Total(0), 12.5);
    EXPECT_EQ(f.display.CO2(0), 0.005125);
}

struct stKINDCASE {
    const char* name;
    int nKind1, nKind2;
    int nScalePos2;
    const char* strUnit2;
    const char* strKind2;
};

class GraphDisplayKinds : public testing::TestWithParam<stKINDCASE> {};

TEST_P(GraphDisplayKinds, UnitKindAndScaleSideOfConditionTwo) {
    const auto& c = GetParam();
    CDisplayFixture f(TERM_MONTH, 2);
    f.cond[0].nDataKind = c.nKind1;
    f.cond[1].nDataKind = c.nKind2;
    f.display.SetGraphDefs(0, f.cond[0], Data(31, 0));
    f.display.SetGraphDefs(1, f.cond[1], Data(31, 0));
    const stGRAPHDEF& def = f.area.GetGraph(1);
    EXPECT_EQ(def.nScalePos, c.nScalePos2);
    EXPECT_EQ(def.nUnitPos, c.nScalePos2);
    EXPECT_EQ(def.strUnit, c.strUnit2);
    EXPECT_EQ(def.strKind, c.strKind2);
    EXPECT_EQ(def.nCount, 31);  // May
}

INSTANTIATE_TEST_SUITE_P(Cases, GraphDisplayKinds,
                         testing::Values(stKINDCASE{"samePower", 0, 0, -1, "kWh", "kWh"},
                                         stKINDCASE{"powerAndCount", 0, 1, 1, "", "Count"},
                                         stKINDCASE{"countAndDigital", 1, 2, 1, "", "Digital"},
                                         stKINDCASE{"sameDigital", 2, 2, -1, "", "Digital"},
                                         stKINDCASE{"unknownKindAsPower", 1, 7, 1, "kWh", "kWh"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(GraphDisplayDefs, LineColoursOfConditionTwoFollowConditionOne) {
    CDisplayFixture f(TERM_DAY, 2);
    f.cond[0].nGraphType = f.cond[1].nGraphType = logdata::GRAPH_LINE;
    f.display.SetGraphDefs(0, f.cond[0], Data(24, 3));
    f.display.SetGraphDefs(1, f.cond[1], Data(24, 2));
    const stGRAPHDEF& d1 = f.area.GetGraph(0);
    const stGRAPHDEF& d2 = f.area.GetGraph(1);
    EXPECT_EQ(d1.nSubCount, 3);
    EXPECT_EQ(d2.nSubCount, 2);
    EXPECT_EQ(d1.bMulti, 1);
    for (int k = 0; k < 3; ++k) EXPECT_EQ(d1.crSubColor[k], g_crLineColor[k]);
    EXPECT_EQ(d2.crSubColor[0], g_crLineColor[3]);
    EXPECT_EQ(d2.crSubColor[1], g_crLineColor[4]);
    EXPECT_EQ(d2.pdSubValue[1][5], 6.0);
    // A fresh two-condition line graph highlights line 0 of condition 1 only; the grid shows line 0 of both.
    EXPECT_EQ(d1.nSelect, 0);
    EXPECT_EQ(d1.strSelect, "07-0-1");
    EXPECT_EQ(d2.nSelect, -1);
    EXPECT_EQ(f.grid.GetGraph(0).nSelect, 0);
    EXPECT_EQ(f.grid.GetGraph(1).nSelect, 0);
    EXPECT_EQ(f.grid.GetGraph(1).strSelect, "07-0-1");

    // Reloading condition 2 alone keeps its colours after condition 1's lines.
    f.display.SetGraphDefs(1, f.cond[1], Data(24, 2));
    EXPECT_EQ(f.area.GetGraph(1).crSubColor[0], g_crLineColor[3]);
}

TEST(GraphDisplayDefs, RememberedLinesSurviveALoadAndFallBackWhenGone) {
    CDisplayFixture f(TERM_DAY, 2);
    f.cond[0].nGraphType = f.cond[1].nGraphType = logdata::GRAPH_LINE;
    f.display.SetGraphDefs(0, f.cond[0], Data(24, 3));
    f.display.SetGraphDefs(1, f.cond[1], Data(24, 3));
    // A click on condition 2's line 2 moves the graph highlight there; condition 1's grid line stays.
    f.display.SelectLine(1, 2);
    EXPECT_EQ(f.area.GetGraph(0).nSelect, -1);
    EXPECT_EQ(f.area.GetGraph(1).nSelect, 2);
    EXPECT_EQ(f.area.GetGraph(1).strSelect, "07-1-1");
    EXPECT_EQ(f.grid.GetGraph(1).nSelect, 2);
    EXPECT_EQ(f.grid.GetGraph(0).nSelect, 0);

    // Next period: both kept.
    f.display.SetGraphDefs(0, f.cond[0], Data(24, 3));
    f.display.SetGraphDefs(1, f.cond[1], Data(24, 3));
    EXPECT_EQ(f.area.GetGraph(0).nSelect, -1);
    EXPECT_EQ(f.area.GetGraph(1).nSelect, 2);
    EXPECT_EQ(f.grid.GetGraph(1).nSelect, 2);

    // Condition 2 now has one line: no valid remembered line anywhere -> line 0 of the condition loaded.
    f.display.SetGraphDefs(1, f.cond[1], Data(24, 1));
    EXPECT_EQ(f.area.GetGraph(1).nSelect, 0);
    EXPECT_EQ(f.grid.GetGraph(1).nSelect, 0);
    EXPECT_EQ(f.display.GridSelect(1), 0);

    // Bars: no highlight at all.
    f.cond[0].nGraphType = logdata::GRAPH_BAR;
    f.display.SetGraphDefs(0, f.cond[0], Data(24, 0));
    EXPECT_EQ(f.area.GetGraph(0).nSelect, -1);
    EXPECT_EQ(f.grid.GetGraph(0).nSelect, -1);
}

TEST(GraphDisplayLoad, ProgressCaptionRangeAndViewOfALoad) {
    CTempDataFolder data;
    CDisplayFixture f(TERM_MONTH, 2);
    f.cond[1].nMonth = 6;  // the current month: 15 units, May 31 units
    CScriptedProgress progress;
    ASSERT_EQ(f.display.LoadGraphData(3, Settings(data.strPath), progress), 1);
    EXPECT_EQ(progress.strCaption, "Loading data files ...");
    EXPECT_EQ(progress.strText, "Loading graph data ...");
    EXPECT_EQ(progress.nRange, 100 * (31 + 15));
    EXPECT_EQ(progress.nOpened, 1);
    EXPECT_EQ(progress.nClosed, 1);
    EXPECT_TRUE(progress.bOpenDuringStep);
    EXPECT_TRUE(progress.Continue());
    EXPECT_FALSE(f.display.IsBusy());
    EXPECT_EQ(f.area.m_nDispSlots, 31);
    EXPECT_EQ(f.grid.m_nDispSlots, 31);
    EXPECT_EQ(f.area.m_nInterval, 1);
    EXPECT_EQ(f.area.GetGraph(0).nEnable, 1);
    EXPECT_EQ(f.area.GetGraph(1).nCount, 30);
    // No data: the fresh scale stays.
    EXPECT_EQ(f.area.GetGraph(0).dRange, 18.0);
}

TEST(GraphDisplayLoad, DayViewIsResetAfterALoad) {
    CTempDataFolder data;
    CDisplayFixture f(TERM_DAY);
    f.cond[0].nIntervalKind = logdata::INTERVAL_30;
    f.area.m_nStartSlot = f.grid.m_nStartSlot = 12;
    f.area.m_nDispSlots = f.grid.m_nDispSlots = 24;
    CScriptedProgress progress;
    ASSERT_EQ(f.display.LoadGraphData(1, Settings(data.strPath), progress), 1);
    EXPECT_EQ(progress.nRange, 100);
    EXPECT_EQ(f.area.m_nStartSlot, 0);
    EXPECT_EQ(f.area.m_nDispSlots, 48);
    EXPECT_EQ(f.area.m_nInterval, 30);
    EXPECT_EQ(f.grid.m_nStartSlot, 0);
    EXPECT_EQ(f.grid.m_nInterval, 30);
}

TEST(GraphDisplayLoad, CancelLeavesTheShownDataAsItWas) {
    CTempDataFolder data;
    CDisplayFixture f(TERM_DAY);
    CScriptedProgress first;
    ASSERT_EQ(f.display.LoadGraphData(1, Settings(data.strPath), first), 1);
    const stGRAPHDEF before = f.area.GetGraph(0);

    f.cond[0].nIntervalKind = logdata::INTERVAL_15;
    CScriptedProgress cancelling;
    cancelling.nCancelAfter = 10;
    EXPECT_EQ(f.display.LoadGraphData(1, Settings(data.strPath), cancelling), 1);
    EXPECT_FALSE(cancelling.Continue());
    EXPECT_EQ(cancelling.nClosed, 1);
    EXPECT_LT(cancelling.nSteps, 100);  // stopped early
    EXPECT_EQ(f.area.GetGraph(0).nCount, before.nCount);
    EXPECT_EQ(f.area.m_nDispSlots, 24);
    EXPECT_EQ(f.area.m_nInterval, 60);
    EXPECT_FALSE(f.display.IsBusy());
}

// A progress view whose stepping fails part way, as a load that runs out of memory would.
class CFailingProgress : public CScriptedProgress {
public:
    void Step(int n) override {
        CScriptedProgress::Step(n);
        if (nSteps >= 10) throw std::runtime_error("failed");
    }
};

TEST(GraphDisplayLoad, ALoadThatBreaksOffByItselfIsReportedLikeACancel) {
    CTempDataFolder data;
    CDisplayFixture f(TERM_DAY);
    CScriptedProgress first;
    ASSERT_EQ(f.display.LoadGraphData(1, Settings(data.strPath), first), 1);
    const stGRAPHDEF before = f.area.GetGraph(0);

    f.cond[0].nIntervalKind = logdata::INTERVAL_15;
    CFailingProgress failing;
    EXPECT_EQ(f.display.LoadGraphData(1, Settings(data.strPath), failing), 1);
    // The window must not take the half load for a finished one.
    EXPECT_FALSE(failing.Continue());
    EXPECT_EQ(failing.nClosed, 1);
    EXPECT_EQ(f.area.GetGraph(0).nCount, before.nCount);
    EXPECT_EQ(f.area.m_nDispSlots, 24);
    EXPECT_FALSE(f.display.IsBusy());
}

TEST(GraphDisplayLoad, RefusesABadPeriodKindOrAMissingCondition) {
    CTempDataFolder data;
    CDisplayFixture f(TERM_DAY);
    CScriptedProgress progress;
    f.display.SetConditions(3, &f.cond[0], nullptr);
    EXPECT_EQ(f.display.LoadGraphData(1, Settings(data.strPath), progress), 0);
    EXPECT_EQ(progress.nOpened, 0);
    f.display.SetConditions(TERM_DAY, nullptr, nullptr);
    EXPECT_EQ(f.display.LoadGraphData(1, Settings(data.strPath), progress), 0);
}

TEST(GraphDisplayScale, ScaleExamplesFromLoadedValues) {
    struct stCASE {
        int nKind;
        std::vector<double> values;
        double dRange, dMin;
        std::vector<std::string> labels;
        std::string strCaption;
    };
    const std::vector<stCASE> cases = {
        {0, {0, 0, 0}, 18, 0, {"0.0", "4.5", "9.0", "13.5", "18.0"}, "kWh"},
        {0, {1, 123, 5}, 130, 0, {"0.0", "32.5", "65.0", "97.5", "130.0"}, "kWh"},
        {0, {12345}, 13000, 0, {"0.00", "3.25", "6.50", "9.75", "13.00"}, "x1000 kWh"},
        {1, {7, 2}, 8, 0, {"0", "2", "4", "6", "8"}, ""},
        {1, {3}, 4, 0, {"0", "1", "2", "3", "4"}, ""},
        {2, {-3, 5, 1}, 10, -5, {"-5.0", "-2.5", "0.0", "2.5", "5.0"}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dRange);
        CDisplayFixture f(TERM_DAY);
        f.cond[0].nDataKind = c.nKind;
        logdata::stCONDDATA d = Data(24, 0);
        for (int k = 0; k < 24; ++k) d.bSlotHas[static_cast<size_t>(k)] = 0;
        for (size_t k = 0; k < c.values.size(); ++k) {
            d.dSlotSum[k] = c.values[k];
            d.bSlotHas[k] = 1;
        }
        f.display.SetGraphDefs(0, f.cond[0], d);
        f.area.m_nDispSlots = 24;
        f.area.m_nInterval = 60;
        f.area.CalcGraphScale({c.nKind});
        EXPECT_DOUBLE_EQ(f.area.GetGraph(0).dRange, c.dRange);
        EXPECT_DOUBLE_EQ(f.area.GetGraph(0).dMin, c.dMin);
        CRecordingCanvas canvas;
        f.area.MarkNewRect();
        f.area.Draw(canvas, {0, 0, 856, 329});
        for (const auto& label : c.labels) EXPECT_NE(canvas.FindText(label), nullptr) << label;
        std::vector<std::string> captions;
        for (const auto& op : canvas.OpsOf(stCANVASOP::TEXT)) {
            if (op.x1 == 1) captions.push_back(op.strText);
        }
        EXPECT_EQ(captions, std::vector<std::string>{c.strCaption});
    }
}

TEST(GraphDisplayScale, DamagedValuesNeverBreakTheScale) {
    for (double v : {std::nan(""), HUGE_VAL, -HUGE_VAL, 1e308, -1e308}) {
        SCOPED_TRACE(v);
        for (int nKind : {0, 1, 2}) {
            CDisplayFixture f(TERM_DAY);
            f.cond[0].nDataKind = nKind;
            logdata::stCONDDATA d = Data(24, 0);
            d.dSlotSum[3] = v;
            f.display.SetGraphDefs(0, f.cond[0], d);
            f.area.m_nDispSlots = 24;
            f.area.CalcGraphScale({nKind});
            CRecordingCanvas canvas;
            f.area.MarkNewRect();
            f.area.Draw(canvas, {0, 0, 856, 329});
            CRecordingCanvas gridCanvas;
            f.grid.m_nDispSlots = 24;
            f.grid.OnPaint();
            f.grid.Draw(gridCanvas, {0, 0, 990, 87});
            EXPECT_FALSE(canvas.Ops().empty());
        }
    }
}

TEST(GraphDisplayLoad, LoadingConditionTwoAloneKeepsConditionOne) {
    CTempDataFolder data;
    CDisplayFixture f(TERM_DAY, 2);
    f.cond[0].nGraphType = logdata::GRAPH_LINE;
    f.cond[0].nDataKind = logdata::KIND_COUNT;
    f.display.SetGraphDefs(0, f.cond[0], Data(24, 2));
    f.display.SelectLine(0, 1);
    const stGRAPHDEF before = f.area.GetGraph(0);

    CScriptedProgress progress;
    ASSERT_EQ(f.display.LoadGraphData(2, Settings(data.strPath), progress), 1);
    EXPECT_EQ(progress.nRange, 100);  // one condition of a day
    const stGRAPHDEF& after = f.area.GetGraph(0);
    EXPECT_EQ(after.nSelect, 1);
    EXPECT_EQ(after.nSubCount, before.nSubCount);
    EXPECT_EQ(after.pdSubValue[1], before.pdSubValue[1]);
    EXPECT_EQ(after.pdSubValue[1][3], 4.0);
    EXPECT_EQ(f.area.GetGraph(1).nEnable, 1);
    EXPECT_EQ(f.area.GetGraph(1).nScalePos, 1);  // power beside count: a scale of its own

    // An empty mask loads nothing and keeps the view.
    f.area.m_nStartSlot = 12;
    ASSERT_EQ(f.display.LoadGraphData(0, Settings(data.strPath), progress), 1);
    EXPECT_EQ(f.area.m_nStartSlot, 12);
    EXPECT_EQ(f.area.m_nDispSlots, 24);
}

TEST(GraphDisplayLoad, ASecondLoadWhileBusyIsIgnored) {
    CTempDataFolder data;
    CDisplayFixture f(TERM_DAY);
    // A progress view that asks for another load from inside the first, as a second click on
    // "Next" would while the loader lets window messages through.
    class CReentrant : public CScriptedProgress {
    public:
        CGraphDisplay* pDisplay = nullptr;
        std::string strData;
        int nInner = -1;
        void Step(int n) override {
            CScriptedProgress::Step(n);
            if (nInner < 0) {
                CScriptedProgress inner;
                nInner = pDisplay->LoadGraphData(1, Settings(strData), inner);
            }
        }
    } progress;
    progress.pDisplay = &f.display;
    progress.strData = data.strPath;
    ASSERT_EQ(f.display.LoadGraphData(1, Settings(data.strPath), progress), 1);
    EXPECT_EQ(progress.nInner, 0);
    EXPECT_EQ(progress.nOpened, 1);
    EXPECT_FALSE(f.display.IsBusy());
}

// The display side over the real loader, on a generated data folder.
TEST(GraphDisplayLoad, GeneratedSampleDayShowsWhatTheLoaderRead) {
    CTempDataFolder data;
    const std::string strBin = std::filesystem::read_symlink("/proc/self/exe").parent_path().string();
    const std::string cmd =
        strBin + "/lumetra-sample --out " + data.strPath + "/Log --days 2 --end 2024-05-02 --seed 1 >/dev/null";
    ASSERT_EQ(std::system(cmd.c_str()), 0);

    CDisplayFixture f(TERM_DAY);
    f.cond[0] = logdata::stGRAPHCOND();
    f.cond[0].nYear = 2024;
    f.cond[0].nMonth = 5;
    f.cond[0].nDay = 1;
    f.cond[0].nIntervalKind = logdata::INTERVAL_60;
    f.cond[0].wSelect[12] = 1;
    f.cond[0].wSelect[13] = 1;
    CScriptedProgress progress;
    auto settings = Settings(data.strPath + "/Log");
    settings.now = platform::LocalTime{2024, 5, 3, 12, 0, 0, 5};
    ASSERT_EQ(f.display.LoadGraphData(1, settings, progress), 1);
    EXPECT_EQ(progress.nSteps, 100);  // one step per number 00..99

    const stGRAPHDEF& def = f.area.GetGraph(0);
    double dSum = 0, dMax = 0;
    int nValid = 0;
    for (int k = 0; k < 24; ++k) {
        if (!def.pbValid[k]) continue;
        ++nValid;
        dSum += def.pdValue[k];
        dMax = std::max(dMax, def.pdValue[k]);
    }
    ASSERT_GT(nValid, 0);
    EXPECT_NEAR(f.display.Total(0), dSum, 0.005);
    // The scale covers the largest value with at most two significant digits of headroom.
    EXPECT_GE(def.dRange, dMax);
    EXPECT_LT(def.dRange, dMax * 1.2 + 0.1);
    EXPECT_EQ(def.dMin, 0.0);

    // The grid shows the same values with two decimals.
    f.grid.OnPaint();
    CRecordingCanvas canvas;
    f.grid.Draw(canvas, {0, 0, 990, 87});
    char buf[32];
    for (int k = 0; k < 24; ++k) {
        if (!def.pbValid[k]) continue;
        std::snprintf(buf, sizeof buf, "%.2f", def.pdValue[k]);
        EXPECT_NE(canvas.FindText(buf), nullptr) << k;
    }
}
