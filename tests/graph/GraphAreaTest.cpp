#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "GraphTestData.h"
#include "graph/GraphArea_Bar.h"
#include "graph/RecordingCanvas.h"

namespace {

// The graph area as the graph window sizes it: 571 x 203 dialog units.
constexpr stRECT kClient{0, 0, 856, 329};

struct CAreaFixture {
    CGraphArea_Bar area;
    CRecordingCanvas canvas;
    explicit CAreaFixture(int nTermType) : area(nTermType, 0.92, 0.85) {}
    void Draw(const stRECT& rc = kClient) {
        canvas.Clear();
        area.MarkNewRect();
        area.Draw(canvas, rc);
    }
    void DayView(int nStart, int nDisp, int nInterval) {
        area.m_nStartSlot = nStart;
        area.m_nDispSlots = nDisp;
        area.m_nInterval = nInterval;
    }
};

std::vector<stCANVASOP> FillsOf(const CRecordingCanvas& canvas, COLORREF cr) {
    std::vector<stCANVASOP> result;
    for (const auto& op : canvas.OpsOf(stCANVASOP::FILL)) {
        if (op.crColor == cr) result.push_back(op);
    }
    return result;
}

// Texts drawn right below the plot (the slot labels).
std::vector<std::string> SlotLabels(const CRecordingCanvas& canvas, int nPlotBottom) {
    std::vector<std::string> result;
    for (const auto& op : canvas.OpsOf(stCANVASOP::TEXT)) {
        if (op.y1 == nPlotBottom + 3) result.push_back(op.strText);
    }
    return result;
}

}  // namespace

TEST(GraphAreaGeometry, PlotRectLeavesFourAndSevenAndAHalfPercentAndShiftsRight) {
    stRECT rc = CGraphArea_Bar::CalcPlotRect(kClient, 0.92, 0.85, 12, 0);
    EXPECT_EQ(rc.left, 34 + 12);
    EXPECT_EQ(rc.right, 821 + 12);
    EXPECT_EQ(rc.top, 24);
    EXPECT_EQ(rc.bottom, 304);
    // An offset client keeps its origin.
    stRECT moved = CGraphArea_Bar::CalcPlotRect({100, 50, 956, 379}, 0.92, 0.85, 12, 0);
    EXPECT_EQ(moved.left, rc.left + 100);
    EXPECT_EQ(moved.top, rc.top + 50);
}

struct stWIDTHCASE {
    int nClientWidth;
    double dRateX;
    int nOffsetX;
    int nPlotWidth;  // before the slot columns narrow or widen it
    int nSlotWidth;
};

class GraphAreaSlotWidth : public testing::TestWithParam<stWIDTHCASE> {};

TEST_P(GraphAreaSlotWidth, NarrowsOrWidensThePlotToWholeColumns) {
    const auto& c = GetParam();
    CGraphArea_Bar area(TERM_DAY, c.dRateX, 0.85);
    area.m_nOffsetX = c.nOffsetX;
    area.m_nDispSlots = 24;
    area.SetClientRect({0, 0, c.nClientWidth, 300});
    ASSERT_EQ(area.PlotRect().Width(), c.nPlotWidth);
    auto layout = area.CalcLayout();
    EXPECT_EQ(layout.nSlots, 24);
    EXPECT_EQ(layout.nSlotWidth, c.nSlotWidth);
    EXPECT_EQ(layout.rcPlot.right, layout.rcPlot.left + 24 * c.nSlotWidth);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GraphAreaSlotWidth,
    testing::Values(
        // 601 pixels: 25 a column, the plot narrows to 600 (left 38 + 624 is not below 654 - 38)
        stWIDTHCASE{654, 0.92, 12, 601, 25},
        // 601 pixels with room on the right (left 9 + 624 < 1000 - 9): 26 a column, the plot widens to 624
        stWIDTHCASE{1000, 0.601, -190, 601, 26},
        // an exact multiple stays as it is
        stWIDTHCASE{1000, 0.576, -200, 576, 24}));

struct stSCALECASE {
    const char* name;
    double dRange;
    double dMin;
    const char* strUnit;
    std::vector<std::string> labels;
    std::string strCaption;
};

class GraphAreaScaleLabels : public testing::TestWithParam<stSCALECASE> {};

TEST_P(GraphAreaScaleLabels, LabelsAndCaptionOnTheLeft) {
    const auto& c = GetParam();
    CAreaFixture f(TERM_DAY);
    f.DayView(0, 24, 60);
    CTestSeries s = CTestSeries::Bars(24, {});
    s.def.dRange = c.dRange;
    s.def.dMin = c.dMin;
    s.def.strUnit = c.strUnit;
    s.def.nScalePos = 0;
    s.def.nUnitPos = 0;
    stGRAPHDEF def = s.Def();
    ASSERT_EQ(f.area.AddGraph(&def), 0);
    f.Draw();
    auto layout = f.area.CalcLayout();
    const stRECT& rc = layout.rcPlot;
    for (size_t i = 0; i < c.labels.size(); ++i) {
        const stCANVASOP* op = f.canvas.FindText(c.labels[i]);
        ASSERT_NE(op, nullptr) << c.labels[i];
        const int cx = static_cast<int>(c.labels[i].size()) * 6;
        EXPECT_EQ(op->x1, rc.left - cx - 3) << c.labels[i];
        EXPECT_EQ(op->y1, rc.bottom - static_cast<int>(i * rc.Height() / 4) - 6) << c.labels[i];
    }
    // The caption at the top left, x = 1, one and a half text heights above the plot.
    bool bFound = false;
    for (const auto& op : f.canvas.OpsOf(stCANVASOP::TEXT)) {
        if (op.x1 == 1 && op.y1 == rc.top - 12 - 6) {
            EXPECT_EQ(op.strText, c.strCaption);
            bFound = true;
        }
    }
    EXPECT_TRUE(bFound);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GraphAreaScaleLabels,
    testing::Values(stSCALECASE{"fresh", 18, 0, "kWh", {"0.0", "4.5", "9.0", "13.5", "18.0"}, "kWh"},
                    stSCALECASE{"max123", 130, 0, "kWh", {"0.0", "32.5", "65.0", "97.5", "130.0"}, "kWh"},
                    stSCALECASE{"max12345", 13000, 0, "kWh", {"0.00", "3.25", "6.50", "9.75", "13.00"}, "x1000 kWh"},
                    stSCALECASE{"count7", 8, 0, "", {"0", "2", "4", "6", "8"}, ""},
                    stSCALECASE{"bigCount", 40000, 0, "", {"0", "10", "20", "30", "40"}, "x1000 "},
                    stSCALECASE{"digital", 10, -5, "", {"-5.0", "-2.5", "0.0", "2.5", "5.0"}, ""},
                    stSCALECASE{"tiny", 0.0004, 0, "", {"0.0000", "0.0001", "0.0002", "0.0003", "0.0004"}, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GraphAreaScale, SecondSeriesScaleAndCaptionOnTheRight) {
    CAreaFixture f(TERM_DAY);
    f.DayView(0, 24, 60);
    CTestSeries power = CTestSeries::Bars(24, {1, 2});
    power.def.nScalePos = power.def.nUnitPos = 0;
    CTestSeries count = CTestSeries::Bars(24, {3}, GRAPH_COLOR_COND2);
    count.def.strUnit = "";
    count.def.dRange = 40000;
    count.def.nScalePos = count.def.nUnitPos = 1;
    stGRAPHDEF d1 = power.Def(), d2 = count.Def();
    f.area.AddGraph(&d1);
    f.area.AddGraph(&d2);
    f.Draw();
    const stRECT rc = f.area.CalcLayout().rcPlot;
    const stCANVASOP* op = f.canvas.FindText("40");
    ASSERT_NE(op, nullptr);
    EXPECT_EQ(op->x1, rc.right + 3);
    const stCANVASOP* caption = f.canvas.FindText("x1000 ");
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(caption->x1, kClient.right - 6 * 6 - 1);
    EXPECT_EQ(caption->y1, rc.top - 12 - 5);
    EXPECT_NE(f.canvas.FindText("kWh"), nullptr);
}

TEST(GraphAreaFrame, OutlineAndThreeDottedDivisions) {
    CAreaFixture f(TERM_DAY);
    f.DayView(0, 24, 60);
    f.Draw();
    const stRECT rc = f.area.CalcLayout().rcPlot;
    auto dotted = f.canvas.OpsOf(stCANVASOP::DOTTED_LINE);
    ASSERT_EQ(dotted.size(), 3u);
    for (int i = 1; i <= 3; ++i) {
        const auto& op = dotted[static_cast<size_t>(i - 1)];
        EXPECT_EQ(op.y1, rc.bottom - static_cast<int>(i * (rc.Height() / 4.0)));
        EXPECT_EQ(op.x1, rc.left);
        EXPECT_EQ(op.x2, rc.right);
    }
    auto frames = f.canvas.OpsOf(stCANVASOP::FRAME);
    ASSERT_EQ(frames.size(), 2u);  // before the scales and again after the bars
    EXPECT_EQ(frames[0].Rect(), rc);
    EXPECT_EQ(frames[1].Rect(), rc);
}

TEST(GraphAreaBars, TwoConditionsSplitEachColumn) {
    CAreaFixture f(TERM_DAY);
    f.DayView(0, 24, 60);
    CTestSeries c1 = CTestSeries::Bars(24, {9, 9});
    CTestSeries c2 = CTestSeries::Bars(24, {4.5, 0}, GRAPH_COLOR_COND2);
    stGRAPHDEF d1 = c1.Def(), d2 = c2.Def();
    f.area.AddGraph(&d1);
    f.area.AddGraph(&d2);
    f.Draw();
    auto layout = f.area.CalcLayout();
    const stRECT& rc = layout.rcPlot;
    const int w = layout.nSlotWidth;  // 32
    ASSERT_EQ(w, 32);
    auto blue = FillsOf(f.canvas, RGB(0, 0, 255));
    auto green = FillsOf(f.canvas, RGB(0, 192, 0));
    ASSERT_EQ(blue.size(), 2u);
    ASSERT_EQ(green.size(), 1u);  // the empty slot gives an empty bar
    // Column 0, left half 0..16 of the column: 60% of 16 from 3.2 to 12.8.
    EXPECT_EQ(blue[0].x1, rc.left + 3);
    EXPECT_EQ(blue[0].x2, rc.left + 12);
    // Column 1 of condition 1 starts one column further.
    EXPECT_EQ(blue[1].x1, rc.left + w + 3);
    // Condition 2 in the right half.
    EXPECT_EQ(green[0].x1, rc.left + 16 + 3);
    EXPECT_EQ(green[0].x2, rc.left + 16 + 12);
    // Heights: 9 of 18 is half the plot, 4.5 a quarter; bars stand on the zero line.
    const double dPerUnit = rc.Height() / 18.0;
    EXPECT_EQ(blue[0].y1, rc.bottom - static_cast<int>(9 * dPerUnit));
    EXPECT_EQ(blue[0].y2, rc.bottom);
    EXPECT_EQ(green[0].y1, rc.bottom - static_cast<int>(4.5 * dPerUnit));
}

TEST(GraphAreaBars, DigitalBarsStandOnTheZeroLineInTheMiddle) {
    CAreaFixture f(TERM_DAY);
    f.DayView(0, 24, 60);
    // The scale of digital values from -3 to 5: range 10, origin -5; 7 lies above the scale.
    CTestSeries s = CTestSeries::Bars(24, {-3, 5, 7});
    s.def.dRange = 10;
    s.def.dMin = -5;
    stGRAPHDEF d = s.Def();
    f.area.AddGraph(&d);
    f.Draw();
    const stRECT rc = f.area.CalcLayout().rcPlot;
    const double dPerUnit = rc.Height() / 10.0;
    const int y0 = rc.bottom - static_cast<int>(5 * dPerUnit);
    auto bars = FillsOf(f.canvas, RGB(0, 0, 255));
    ASSERT_EQ(bars.size(), 3u);
    // Below zero the bar hangs from the zero line down to its value.
    EXPECT_EQ(bars[0].y1, y0);
    EXPECT_EQ(bars[0].y2, rc.bottom - static_cast<int>(2 * dPerUnit));
    // Above zero it rises to its value; a value above the scale stops at the plot's top.
    EXPECT_EQ(bars[1].y1, rc.top);
    EXPECT_EQ(bars[1].y2, y0);
    EXPECT_EQ(bars[2].y1, rc.top);
    EXPECT_EQ(bars[2].y2, y0);
}

TEST(GraphAreaBars, WholeDayOfQuarterHoursHasEightyPercentBarsAndHourLabels) {
    CAreaFixture f(TERM_DAY);
    f.DayView(0, 96, 15);
    CTestSeries s = CTestSeries::Bars(96, std::vector<double>(96, 1.0));
    stGRAPHDEF d = s.Def();
    f.area.AddGraph(&d);
    f.Draw();
    auto layout = f.area.CalcLayout();
    ASSERT_EQ(layout.nSlots, 96);
    const int w = layout.nSlotWidth;
    ASSERT_EQ(w, 8);
    auto bars = FillsOf(f.canvas, RGB(0, 0, 255));
    ASSERT_EQ(bars.size(), 96u);
    // 80% of 8 pixels: from trunc(0.8) to trunc(7.2)
    EXPECT_EQ(bars[0].x1, layout.rcPlot.left + 0);
    EXPECT_EQ(bars[0].x2, layout.rcPlot.left + 7);
    EXPECT_EQ(bars[95].x1, layout.rcPlot.left + 95 * w);

    std::vector<std::string> expected;
    for (int h = 0; h < 24; ++h) expected.push_back(std::to_string(h));
    EXPECT_EQ(SlotLabels(f.canvas, layout.rcPlot.bottom), expected);
    // Label "1" is centred over its four columns.
    const stCANVASOP* one = f.canvas.FindText("1");
    ASSERT_NE(one, nullptr);
    EXPECT_EQ(one->x1, layout.rcPlot.left + 4 * w + (4 * w - 6) / 2);
    // A separator at every labelled column but the first, reaching 10 pixels below the plot.
    auto lines = f.canvas.OpsOf(stCANVASOP::LINE);
    ASSERT_EQ(lines.size(), 23u);
    EXPECT_EQ(lines[0].x1, layout.rcPlot.left + 4 * w);
    EXPECT_EQ(lines[0].y1, layout.rcPlot.top);
    EXPECT_EQ(lines[0].y2, layout.rcPlot.bottom + 10);
    const stCANVASOP* caption = f.canvas.FindText("[Hour]");
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(caption->x1, kClient.right - 36);
    EXPECT_EQ(caption->y1, layout.rcPlot.bottom + 12);
}

struct stVIEWCASE {
    const char* name;
    int nStart;
    int nDisp;
    int nInterval;
    std::vector<std::string> firstLabels;
    size_t nLabels;
    bool bCaption;
};

class GraphAreaDayViews : public testing::TestWithParam<stVIEWCASE> {};

TEST_P(GraphAreaDayViews, SlotLabelsOfTheView) {
    const auto& c = GetParam();
    CAreaFixture f(TERM_DAY);
    f.DayView(c.nStart, c.nDisp, c.nInterval);
    CTestSeries s = CTestSeries::Bars(c.nDisp == 24 && c.nInterval == 60 ? 24 : 96, {});
    stGRAPHDEF d = s.Def();
    f.area.AddGraph(&d);
    f.Draw();
    auto labels = SlotLabels(f.canvas, f.area.CalcLayout().rcPlot.bottom);
    ASSERT_EQ(labels.size(), c.nLabels);
    for (size_t i = 0; i < c.firstLabels.size(); ++i) EXPECT_EQ(labels[i], c.firstLabels[i]);
    EXPECT_EQ(f.canvas.FindText("[Hour]") != nullptr, c.bCaption);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GraphAreaDayViews,
    testing::Values(stVIEWCASE{"hourlyDay", 0, 24, 60, {"00:00", "01:00", "02:00"}, 24, false},
                    stVIEWCASE{"view0to6", 0, 24, 15, {"00:00", "00:15", "00:30", "00:45", "01:00"}, 24, false},
                    stVIEWCASE{"view12to18", 48, 24, 15, {"12:00", "12:15"}, 24, false},
                    stVIEWCASE{"view3to9", 12, 24, 15, {"03:00", "03:15"}, 24, false},
                    stVIEWCASE{"view6to18", 12, 24, 30, {"06:00", "06:30", "07:00"}, 24, false},
                    stVIEWCASE{"halfHourDay", 0, 48, 30, {"00", "01", "02"}, 24, true},
                    stVIEWCASE{"quarterHourDay", 0, 96, 15, {"0", "1", "2"}, 24, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GraphAreaSlotLabels, MonthAndYearNumberTheirSlots) {
    CAreaFixture month(TERM_MONTH);
    CTestSeries feb = CTestSeries::Bars(28, {});
    CTestSeries mar = CTestSeries::Bars(31, {}, GRAPH_COLOR_COND2);
    stGRAPHDEF d1 = feb.Def(), d2 = mar.Def();
    month.area.AddGraph(&d1);
    month.area.AddGraph(&d2);
    month.Draw();
    auto layout = month.area.CalcLayout();
    EXPECT_EQ(layout.nSlots, 31);  // the longer month
    auto labels = SlotLabels(month.canvas, layout.rcPlot.bottom);
    ASSERT_EQ(labels.size(), 31u);
    EXPECT_EQ(labels.front(), "1");
    EXPECT_EQ(labels.back(), "31");
    EXPECT_NE(month.canvas.FindText("[Day]"), nullptr);

    CAreaFixture year(TERM_YEAR);
    CTestSeries y = CTestSeries::Bars(12, {});
    stGRAPHDEF dy = y.Def();
    year.area.AddGraph(&dy);
    year.Draw();
    EXPECT_EQ(SlotLabels(year.canvas, year.area.CalcLayout().rcPlot.bottom).size(), 12u);
    EXPECT_NE(year.canvas.FindText("[Month]"), nullptr);
}

TEST(GraphAreaLines, ClampedPointsAtOneEdgeAreNotJoinedAndGapsAreBridged) {
    CAreaFixture f(TERM_DAY);
    f.DayView(0, 24, 60);
    CTestSeries s = CTestSeries::Bars(24, {});
    s.def.dRange = 10;
    // slot 0 inside, 1 and 2 above the top, 3 inside, 4 missing, 5 inside, 6 and 7 below the bottom
    s.AddLine({5, 50, 60, 5, 0, 5, -3, -4}, {4});
    stGRAPHDEF d = s.Def();
    d.nSelect = -1;
    f.area.AddGraph(&d);
    f.Draw();
    auto layout = f.area.CalcLayout();
    const stRECT& rc = layout.rcPlot;
    const int w = layout.nSlotWidth;
    auto X = [&](int j) { return rc.left + j * w + w / 2; };
    const int yMid = rc.bottom - static_cast<int>(5 * (rc.Height() / 10.0));

    std::vector<stCANVASOP> thin, dots;
    for (const auto& op : f.canvas.OpsOf(stCANVASOP::WIDE_LINE)) {
        (op.nWidth == 2 ? thin : dots).push_back(op);
        EXPECT_EQ(op.crColor, g_crLineColor[0]);
    }
    ASSERT_EQ(dots.size(), 7u);  // every point with a value gets a dot
    for (const auto& dot : dots) {
        EXPECT_EQ(dot.nWidth, 6);
        EXPECT_EQ(dot.x1, dot.x2);
        EXPECT_EQ(dot.y1, dot.y2);
    }
    // Segments: 0-1, 2-3 (1-2 both at the top: not joined), 3-5 over the gap, 5-6 (6-7 both at the bottom).
    ASSERT_EQ(thin.size(), 4u);
    EXPECT_EQ(thin[0].x1, X(0));
    EXPECT_EQ(thin[0].y1, yMid);
    EXPECT_EQ(thin[0].x2, X(1));
    EXPECT_EQ(thin[0].y2, rc.top);
    EXPECT_EQ(thin[1].x1, X(2));
    EXPECT_EQ(thin[1].x2, X(3));
    EXPECT_EQ(thin[2].x1, X(3));
    EXPECT_EQ(thin[2].x2, X(5));
    EXPECT_EQ(thin[3].x2, X(6));
    EXPECT_EQ(thin[3].y2, rc.bottom);
}

TEST(GraphAreaLines, HighlightedLineIsDrawnLastAndWider) {
    CAreaFixture f(TERM_DAY);
    f.DayView(0, 24, 60);
    CTestSeries s = CTestSeries::Bars(24, {});
    s.AddLine({1, 2});
    s.AddLine({3, 4});
    s.AddLine({5, 6});
    stGRAPHDEF d = s.Def();
    f.area.AddGraph(&d);
    f.area.SetSelect(0, 1, "07-0-2");
    EXPECT_EQ(f.area.GetGraph(0).nSelect, 1);
    EXPECT_EQ(f.area.GetGraph(0).strSelect, "07-0-2");
    f.Draw();
    auto wide = f.canvas.OpsOf(stCANVASOP::WIDE_LINE);
    ASSERT_FALSE(wide.empty());
    // The last ops are line 1's: thin 4, thick 8.
    EXPECT_EQ(wide.back().crColor, g_crLineColor[1]);
    EXPECT_EQ(wide.back().nWidth, 8);
    EXPECT_EQ(wide[wide.size() - 2].nWidth, 4);
    for (const auto& op : wide) {
        if (op.crColor != g_crLineColor[1]) {
            EXPECT_TRUE(op.nWidth == 2 || op.nWidth == 6);
        }
    }
    // A line index beyond the lines clears the highlight.
    f.area.SetSelect(0, 3, "x");
    EXPECT_EQ(f.area.GetGraph(0).nSelect, -1);
}

TEST(GraphAreaSeries, AddSetAndSelectKeepTheirLimits) {
    CGraphArea_Bar area(TERM_DAY, 0.92, 0.85);
    stGRAPHDEF def;
    EXPECT_EQ(area.AddGraph(nullptr), 0);
    EXPECT_EQ(area.AddGraph(&def), 0);
    EXPECT_EQ(area.AddGraph(&def), 1);
    EXPECT_EQ(area.AddGraph(&def), -1);
    EXPECT_EQ(area.GetCount(), 2);

    int nRedraws = 0;
    area.m_fnRedraw = [&] { ++nRedraws; };
    def.nCount = 31;
    EXPECT_TRUE(area.SetGraph(1, def, false));
    EXPECT_EQ(nRedraws, 0);
    EXPECT_TRUE(area.SetGraph(1, def, true));
    EXPECT_EQ(nRedraws, 1);
    EXPECT_FALSE(area.SetGraph(2, def, true));
    EXPECT_FALSE(area.SetGraph(-1, def, true));
    EXPECT_EQ(nRedraws, 1);

    // A bar series (bMulti 0) ignores SetSelect; a bad index changes nothing.
    area.SetSelect(0, 0, "07-0-1");
    EXPECT_EQ(area.GetGraph(0).nSelect, -1);
    area.SetSelect(5, 0, "07-0-1");

    // A fresh record has the values the graph window starts from.
    stGRAPHDEF fresh;
    EXPECT_EQ(fresh.nEnable, 0);
    EXPECT_EQ(fresh.nScalePos, -1);
    EXPECT_EQ(fresh.nUnitPos, -1);
    EXPECT_EQ(fresh.dRange, 18.0);
    EXPECT_EQ(fresh.dMin, 0.0);
    EXPECT_EQ(fresh.nSelect, -1);
}

TEST(GraphAreaSeries, NotLoadedSeriesDrawsItsScaleButNoBars) {
    CAreaFixture f(TERM_DAY);
    f.DayView(0, 24, 60);
    CTestSeries s = CTestSeries::Bars(24, {5, 5});
    s.def.nEnable = 0;
    s.def.nScalePos = s.def.nUnitPos = 0;
    stGRAPHDEF d = s.Def();
    f.area.AddGraph(&d);
    f.Draw();
    EXPECT_TRUE(FillsOf(f.canvas, RGB(0, 0, 255)).empty());
    EXPECT_NE(f.canvas.FindText("13.5"), nullptr);
}

TEST(GraphAreaColors, LineColourTable) {
    EXPECT_EQ(g_crLineColor[0], RGB(255, 128, 0));
    EXPECT_EQ(g_crLineColor[5], RGB(92, 148, 99));
    EXPECT_EQ(g_crLineColor[7], g_crLineColor[17]);
    EXPECT_EQ(g_crLineColor[16], RGB(0, 0, 64));
    EXPECT_EQ(g_crLineColor[20], RGB(255, 255, 192));
    EXPECT_EQ(GetRValue(RGB(1, 2, 3)), 1);
    EXPECT_EQ(GetGValue(RGB(1, 2, 3)), 2);
    EXPECT_EQ(GetBValue(RGB(1, 2, 3)), 3);
}

// Damaged logs can give values of any size or sign and NaN; the control can be made tiny.
struct stBADCASE {
    const char* name;
    double dValue;
    double dRange;
    double dMin;
    stRECT rcClient;
    int nDispSlots;
    int nCount;
};

class GraphAreaBadInput : public testing::TestWithParam<stBADCASE> {};

TEST_P(GraphAreaBadInput, DrawsWithoutCrashing) {
    const auto& c = GetParam();
    for (int nType : {0, 1}) {
        CAreaFixture f(TERM_DAY);
        f.DayView(0, c.nDispSlots, 15);
        CTestSeries s = CTestSeries::Bars(c.nCount, std::vector<double>(96, c.dValue));
        s.def.dRange = c.dRange;
        s.def.dMin = c.dMin;
        s.def.nScalePos = s.def.nUnitPos = 0;
        s.def.nGraphType = nType;
        if (nType == 1) s.AddLine(std::vector<double>(96, c.dValue));
        stGRAPHDEF d = s.Def();
        f.area.AddGraph(&d);
        f.Draw(c.rcClient);
        EXPECT_FALSE(f.canvas.Ops().empty());
        for (const auto& op : f.canvas.OpsOf(stCANVASOP::FILL)) {
            if (op.crColor == RGB(0, 0, 255)) {
                EXPECT_LE(op.y2 - op.y1, std::max(0, c.rcClient.Height()));
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, GraphAreaBadInput,
                         testing::Values(stBADCASE{"nan", std::nan(""), 18, 0, kClient, 96, 96},
                                         stBADCASE{"inf", HUGE_VAL, 18, 0, kClient, 96, 96},
                                         stBADCASE{"minusInf", -HUGE_VAL, 18, 0, kClient, 96, 96},
                                         stBADCASE{"huge", 1e300, 1e300, 0, kClient, 24, 24},
                                         stBADCASE{"hugeNegative", -1e300, 1e300, -1e300, kClient, 24, 24},
                                         stBADCASE{"nanRange", 3, std::nan(""), 0, kClient, 24, 24},
                                         stBADCASE{"zeroRange", 3, 0, 0, kClient, 24, 24},
                                         stBADCASE{"infRange", 3, HUGE_VAL, -HUGE_VAL, kClient, 24, 24},
                                         stBADCASE{"zeroSize", 3, 18, 0, stRECT{0, 0, 0, 0}, 24, 24},
                                         stBADCASE{"tiny", 3, 18, 0, stRECT{0, 0, 3, 2}, 96, 96},
                                         stBADCASE{"inverted", 3, 18, 0, stRECT{50, 50, 10, 10}, 24, 24},
                                         stBADCASE{"noView", 3, 18, 0, kClient, 0, 24},
                                         stBADCASE{"oddView", 3, 18, 0, kClient, 7, 24},
                                         stBADCASE{"countTooLarge", 3, 18, 0, kClient, 96, 100000},
                                         stBADCASE{"negativeCount", 3, 18, 0, kClient, 24, -5}),
                         [](const auto& info) { return std::string(info.param.name); });
