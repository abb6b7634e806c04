#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "GraphTestData.h"
#include "graph/DataGrid.h"
#include "graph/RecordingCanvas.h"

namespace {

// The data grid as the graph window sizes it: 660 x 54 dialog units.
constexpr stRECT kClient{0, 0, 990, 87};

struct CGridFixture {
    CDataGrid grid;
    CRecordingCanvas canvas;
    explicit CGridFixture(int nTermType) : grid(nTermType, 0.9999, 0.9999) {}
    void Draw() {
        canvas.Clear();
        grid.OnPaint();
        grid.Draw(canvas, kClient);
    }
    // Texts per row (by the top of their cell or text), top to bottom, left to right.
    std::vector<std::vector<std::string>> Rows() const {
        std::map<int, std::vector<std::pair<int, std::string>>> rows;
        for (const auto& op : canvas.Ops()) {
            if (op.eKind == stCANVASOP::TEXT_IN_RECT) rows[op.y1].push_back({op.x1, op.strText});
        }
        // Title labels are plain texts inside a row: file them under the row whose cells hold them.
        for (const auto& op : canvas.OpsOf(stCANVASOP::TEXT)) {
            int nRow = -1;
            for (const auto& frame : canvas.OpsOf(stCANVASOP::FRAME)) {
                if (op.y1 >= frame.y1 && op.y1 < frame.y2 && op.x1 >= frame.x1 && op.x1 < frame.x2) nRow = frame.y1;
            }
            rows[nRow].push_back({op.x1, op.strText});
        }
        std::vector<std::vector<std::string>> result;
        for (auto& [y, cells] : rows) {
            std::sort(cells.begin(), cells.end());
            std::vector<std::string> texts;
            for (auto& cell : cells) texts.push_back(cell.second);
            result.push_back(texts);
        }
        return result;
    }
};

std::vector<std::string> Seq(const std::string& strFirst, std::vector<std::string> rest) {
    rest.insert(rest.begin(), strFirst);
    return rest;
}

std::vector<std::string> Hours(int nFrom, int nTo) {
    std::vector<std::string> result;
    char buf[8];
    for (int h = nFrom; h <= nTo; ++h) {
        std::snprintf(buf, sizeof buf, "%02d:00", h);
        result.push_back(buf);
    }
    return result;
}

std::vector<std::string> Numbers(int nFrom, int nTo) {
    std::vector<std::string> result;
    for (int i = nFrom; i <= nTo; ++i) result.push_back(std::to_string(i));
    return result;
}

}  // namespace

TEST(DataGridDay, HourlyDayInTwoBlocksWithBlueSwatch) {
    CGridFixture f(TERM_DAY);
    f.grid.m_nDispSlots = 24;
    f.grid.m_nInterval = 60;
    std::vector<double> v(24);
    for (int i = 0; i < 24; ++i) v[static_cast<size_t>(i)] = i + 0.126;
    CTestSeries s = CTestSeries::Bars(24, v);
    stGRAPHDEF d = s.Def();
    ASSERT_EQ(f.grid.AddGraph(&d), 0);
    f.Draw();
    auto shape = f.grid.CalcShape();
    EXPECT_EQ(shape.nBlocks, 2);
    EXPECT_EQ(shape.nCells, 13);
    EXPECT_EQ(shape.nRows, 2);

    auto rows = f.Rows();
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0], Seq("Hour", Hours(0, 11)));
    EXPECT_EQ(rows[1].front(), "kWh");
    EXPECT_EQ(rows[1][1], "0.13");
    EXPECT_EQ(rows[1].back(), "11.13");
    EXPECT_EQ(rows[2], Seq("Hour", Hours(12, 23)));
    EXPECT_EQ(rows[3].back(), "23.13");

    // Cell geometry: 989 / 13 = 76 wide, rows 86 / 4 = 21 high from a top margin of 1.
    auto frames = f.canvas.OpsOf(stCANVASOP::FRAME);
    ASSERT_FALSE(frames.empty());
    EXPECT_EQ(frames[0].Rect(), (stRECT{0, 1, 76, 22}));
    // The swatch: 2 pixels inside the title cell, 5% of 76 wide, 20% to 80% of 21 high, blue.
    bool bSwatch = false;
    for (const auto& op : f.canvas.OpsOf(stCANVASOP::FILL)) {
        if (op.crColor == GRAPH_COLOR_COND1) {
            EXPECT_EQ(op.Rect(), (stRECT{2, 22 + 4, 2 + (39 - 36), 22 + 16}));
            bSwatch = true;
            break;
        }
    }
    EXPECT_TRUE(bSwatch);
    const stCANVASOP* label = f.canvas.FindText("kWh");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->x1, 2 + 3 + 2);
    EXPECT_EQ(label->y1, 22 + (21 - 12) / 2);
}

TEST(DataGridDay, TwoConditionsTitledWithTheirNames) {
    CGridFixture f(TERM_DAY);
    f.grid.m_nDispSlots = 24;
    f.grid.m_nInterval = 60;
    CTestSeries c1 = CTestSeries::Bars(24, {1});
    CTestSeries c2 = CTestSeries::Bars(24, {2}, GRAPH_COLOR_COND2);
    c2.def.strName = "Cond2";
    stGRAPHDEF d1 = c1.Def(), d2 = c2.Def();
    f.grid.AddGraph(&d1);
    f.grid.AddGraph(&d2);
    EXPECT_EQ(f.grid.AddGraph(&d2), -1);
    f.Draw();
    auto rows = f.Rows();
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[1].front(), "kWh(Cond1)");
    EXPECT_EQ(rows[2].front(), "kWh(Cond2)");
    EXPECT_EQ(rows[1][1], "1.00");
    EXPECT_EQ(rows[2][1], "2.00");
    int nBlue = 0, nGreen = 0;
    for (const auto& op : f.canvas.OpsOf(stCANVASOP::FILL)) {
        nBlue += op.crColor == GRAPH_COLOR_COND1;
        nGreen += op.crColor == GRAPH_COLOR_COND2;
    }
    EXPECT_EQ(nBlue, 2);  // one swatch per block
    EXPECT_EQ(nGreen, 2);
}

TEST(DataGridDay, WholeDayOfQuarterHourBarsLeavesTheGridEmpty) {
    CGridFixture f(TERM_DAY);
    f.grid.m_nDispSlots = 96;
    f.grid.m_nInterval = 15;
    CTestSeries s = CTestSeries::Bars(96, std::vector<double>(96, 1));
    stGRAPHDEF d = s.Def();
    f.grid.AddGraph(&d);
    f.Draw();
    ASSERT_EQ(f.canvas.Ops().size(), 1u);  // the background only
    EXPECT_EQ(f.canvas.Ops()[0].eKind, stCANVASOP::FILL);
    EXPECT_EQ(f.canvas.Ops()[0].crColor, f.grid.m_crBack);
}

TEST(DataGridDay, WholeDayOfQuarterHourLinesShowsTheSelectedLineHourly) {
    CGridFixture f(TERM_DAY);
    f.grid.m_nDispSlots = 96;
    f.grid.m_nInterval = 15;
    CTestSeries s = CTestSeries::Bars(96, {});
    std::vector<double> line0(96, 0.0), line1(96);
    for (int i = 0; i < 96; ++i) line1[static_cast<size_t>(i)] = i;  // slot number as value
    s.AddLine(line0);
    s.AddLine(line1);
    stGRAPHDEF d = s.Def();
    f.grid.AddGraph(&d);
    f.grid.SetSelect(0, 1, "07-0-2");
    f.Draw();
    auto rows = f.Rows();
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0], Seq("Hour", Hours(0, 11)));
    EXPECT_EQ(rows[1].front(), "07-0-2");
    EXPECT_EQ(rows[1][1], "0.00");
    EXPECT_EQ(rows[1][2], "4.00");
    EXPECT_EQ(rows[3].back(), "92.00");
    // The swatch takes the selected line's colour.
    bool bSwatch = false;
    for (const auto& op : f.canvas.OpsOf(stCANVASOP::FILL)) bSwatch = bSwatch || op.crColor == g_crLineColor[1];
    EXPECT_TRUE(bSwatch);
}

TEST(DataGridDay, MultiLineSeriesWithoutSelectedLineShowsNoTitleAndNoValues) {
    CGridFixture f(TERM_DAY);
    f.grid.m_nDispSlots = 24;
    f.grid.m_nInterval = 60;
    CTestSeries s = CTestSeries::Bars(24, {});
    s.AddLine(std::vector<double>(24, 1.0));
    stGRAPHDEF d = s.Def();
    d.nSelect = -1;
    f.grid.AddGraph(&d);
    f.Draw();
    auto rows = f.Rows();
    ASSERT_EQ(rows.size(), 2u);  // header rows only carry texts
    EXPECT_EQ(rows[0].front(), "Hour");
}

struct stGRIDVIEWCASE {
    const char* name;
    int nStart, nDisp, nInterval;
    std::vector<std::string> firstBlock;
    std::vector<std::string> secondBlockStart;
};

class DataGridDayViews : public testing::TestWithParam<stGRIDVIEWCASE> {};

TEST_P(DataGridDayViews, HeaderTimesOfTheView) {
    const auto& c = GetParam();
    CGridFixture f(TERM_DAY);
    f.grid.m_nStartSlot = c.nStart;
    f.grid.m_nDispSlots = c.nDisp;
    f.grid.m_nInterval = c.nInterval;
    CTestSeries s = CTestSeries::Bars(96, std::vector<double>(96, 1));
    stGRAPHDEF d = s.Def();
    f.grid.AddGraph(&d);
    f.Draw();
    auto rows = f.Rows();
    ASSERT_EQ(rows.size(), 4u);
    ASSERT_EQ(rows[0].size(), 13u);
    for (size_t i = 0; i < c.firstBlock.size(); ++i) EXPECT_EQ(rows[0][i + 1], c.firstBlock[i]);
    for (size_t i = 0; i < c.secondBlockStart.size(); ++i) EXPECT_EQ(rows[2][i + 1], c.secondBlockStart[i]);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DataGridDayViews,
    testing::Values(stGRIDVIEWCASE{"view12to18", 48, 24, 15, {"12:00", "12:15"}, {"15:00", "15:15"}},
                    stGRIDVIEWCASE{"view0to6", 0, 24, 15, {"00:00", "00:15"}, {"03:00"}},
                    stGRIDVIEWCASE{"view6to18", 12, 24, 30, {"06:00", "06:30"}, {"12:00"}}),
    [](const auto& info) { return std::string(info.param.name); });

struct stMONTHCASE {
    const char* name;
    int nDays;
    int nCells;
    bool bLastCellEmpty;
};

class DataGridMonth : public testing::TestWithParam<stMONTHCASE> {};

TEST_P(DataGridMonth, BlocksOfAMonth) {
    const auto& c = GetParam();
    CGridFixture f(TERM_MONTH);
    CTestSeries s = CTestSeries::Bars(c.nDays, std::vector<double>(static_cast<size_t>(c.nDays), 2.5));
    stGRAPHDEF d = s.Def();
    f.grid.AddGraph(&d);
    f.Draw();
    auto shape = f.grid.CalcShape();
    EXPECT_EQ(shape.nCells, c.nCells);
    auto rows = f.Rows();
    ASSERT_EQ(rows.size(), 4u);
    const int nFirst = c.nCells - 1;
    EXPECT_EQ(rows[0], Seq("Day", Numbers(1, nFirst)));
    EXPECT_EQ(rows[2], Seq("Day", Numbers(nFirst + 1, c.nDays)));
    EXPECT_EQ(rows[3].size(), static_cast<size_t>(c.nDays - nFirst + 1));
    // Frames: per block a header row and a series row (title, swatch, cells).
    const size_t nCellFrames = 2u * 2u * static_cast<size_t>(c.nCells);
    const size_t nMissing = c.bLastCellEmpty ? 2u : 0u;  // the last cell of both rows of block 2
    EXPECT_EQ(f.canvas.OpsOf(stCANVASOP::FRAME).size(), nCellFrames - nMissing + 2u);
    // Title cell of a month is 15 pixels wider than the others' share.
    auto frames = f.canvas.OpsOf(stCANVASOP::FRAME);
    const int nTitle = 989 / c.nCells + 15;
    EXPECT_EQ(frames[0].Rect().Width(), nTitle);
    EXPECT_EQ(frames[1].Rect().Width(), (989 - nTitle) / (c.nCells - 1));
}

INSTANTIATE_TEST_SUITE_P(Cases, DataGridMonth,
                         testing::Values(stMONTHCASE{"days31", 31, 17, true}, stMONTHCASE{"days30", 30, 16, false},
                                         stMONTHCASE{"days29", 29, 16, true}, stMONTHCASE{"days28", 28, 15, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DataGridMonth, FebruaryAgainstMarchShowsDashesBeyondFebruary) {
    CGridFixture f(TERM_MONTH);
    CTestSeries feb = CTestSeries::Bars(28, std::vector<double>(28, 1));
    CTestSeries mar = CTestSeries::Bars(31, std::vector<double>(31, 2), GRAPH_COLOR_COND2);
    mar.def.strName = "Cond2";
    stGRAPHDEF d1 = feb.Def(), d2 = mar.Def();
    f.grid.AddGraph(&d1);
    f.grid.AddGraph(&d2);
    f.Draw();
    EXPECT_EQ(f.grid.CalcShape().nCells, 17);
    auto rows = f.Rows();
    ASSERT_EQ(rows.size(), 6u);
    // Second block: days 17..31.
    ASSERT_EQ(rows[4].size(), 16u);
    EXPECT_EQ(rows[4][12], "1.00");  // day 28
    EXPECT_EQ(rows[4][13], "---");   // day 29
    EXPECT_EQ(rows[4][15], "---");   // day 31
    EXPECT_EQ(rows[5][15], "2.00");
}

TEST(DataGridYear, OneBlockOfTwelveMonths) {
    CGridFixture f(TERM_YEAR);
    CTestSeries s = CTestSeries::Bars(12, std::vector<double>(12, 99999999.99));
    s.values[11] = 100000000.0;
    stGRAPHDEF d = s.Def();
    f.grid.AddGraph(&d);
    f.Draw();
    auto rows = f.Rows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], Seq("Month", Numbers(1, 12)));
    EXPECT_EQ(rows[1][1], "99999999.99");
    EXPECT_EQ(rows[1][12], "---");  // above the limit
}

struct stVALUECASE {
    const char* name;
    int nTermType;
    const char* strUnit;
    const char* strKind;
    double dValue;
    bool bValid;
    const char* strText;
};

class DataGridValues : public testing::TestWithParam<stVALUECASE> {};

TEST_P(DataGridValues, CellText) {
    const auto& c = GetParam();
    CDataGrid grid(c.nTermType, 0.9999, 0.9999);
    grid.m_nDispSlots = 24;
    grid.m_nInterval = 60;
    CTestSeries s = CTestSeries::Bars(c.nTermType == TERM_YEAR ? 12 : c.nTermType == TERM_MONTH ? 31 : 24, {c.dValue});
    s.valid[0] = c.bValid;
    s.def.strUnit = c.strUnit;
    s.def.strKind = c.strKind;
    stGRAPHDEF d = s.Def();
    grid.AddGraph(&d);
    EXPECT_EQ(grid.CellText(grid.CalcShape(), 0, 0), c.strText);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DataGridValues,
    testing::Values(stVALUECASE{"countTruncates", TERM_DAY, "", "Count", 12.9, true, "12"},
                    stVALUECASE{"negativeCountTowardZero", TERM_DAY, "", "Count", -12.9, true, "-12"},
                    stVALUECASE{"digitalHalf", TERM_DAY, "", "Digital", 12.5, true, "12.5"},
                    stVALUECASE{"digitalWhole", TERM_DAY, "", "Digital", 3.0, true, "3"},
                    stVALUECASE{"digitalNegative", TERM_DAY, "", "Digital", -0.25, true, "-0.25"},
                    stVALUECASE{"power", TERM_DAY, "kWh", "kWh", 1.5, true, "1.50"},
                    stVALUECASE{"powerAtMonthLimit", TERM_MONTH, "kWh", "kWh", 999999.99, true, "999999.99"},
                    stVALUECASE{"powerAboveMonthLimit", TERM_MONTH, "kWh", "kWh", 1000000.0, true, "---"},
                    stVALUECASE{"belowMinusLimit", TERM_MONTH, "kWh", "kWh", -1000000.0, true, "---"},
                    stVALUECASE{"dayLimitIsWider", TERM_DAY, "kWh", "kWh", 999999.999, true, "1000000.00"},
                    stVALUECASE{"invalidSlot", TERM_DAY, "kWh", "kWh", 5, false, "---"},
                    stVALUECASE{"nan", TERM_DAY, "kWh", "kWh", std::nan(""), true, "---"},
                    stVALUECASE{"inf", TERM_YEAR, "", "Count", HUGE_VAL, true, "---"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DataGridValues, NotLoadedSeriesShowsEmptyCells) {
    CDataGrid grid(TERM_DAY, 0.9999, 0.9999);
    grid.m_nDispSlots = 24;
    CTestSeries s = CTestSeries::Bars(24, {1});
    s.def.nEnable = 0;
    stGRAPHDEF d = s.Def();
    grid.AddGraph(&d);
    EXPECT_EQ(grid.CellText(grid.CalcShape(), 0, 0), "");
}

TEST(DataGridSeries, AddSetAndSelectKeepTheirLimits) {
    CDataGrid grid(TERM_DAY, 0.9999, 0.9999);
    stGRAPHDEF def;
    EXPECT_EQ(grid.AddGraph(nullptr), 0);
    EXPECT_EQ(grid.GetCount(), 0);
    EXPECT_EQ(grid.AddGraph(&def), 0);
    EXPECT_EQ(grid.AddGraph(&def), 1);
    EXPECT_EQ(grid.AddGraph(&def), -1);
    EXPECT_EQ(grid.GetCount(), 2);

    def.nCount = 31;
    def.bMulti = 1;
    def.nSubCount = 3;
    EXPECT_TRUE(grid.SetGraph(1, def));
    EXPECT_EQ(grid.GetGraph(1).nCount, 31);
    EXPECT_FALSE(grid.SetGraph(2, def));
    EXPECT_FALSE(grid.SetGraph(-1, def));

    // Only a series with lines takes a selection; a line out of range clears it.
    grid.SetSelect(0, 0, "07-0-1");
    EXPECT_EQ(grid.GetGraph(0).nSelect, -1);
    EXPECT_EQ(grid.GetGraph(0).strSelect, "");
    grid.SetSelect(1, 2, "07-1-1");
    EXPECT_EQ(grid.GetGraph(1).nSelect, 2);
    EXPECT_EQ(grid.GetGraph(1).strSelect, "07-1-1");
    grid.SetSelect(1, 3, "07-1-2");
    EXPECT_EQ(grid.GetGraph(1).nSelect, -1);
    grid.SetSelect(1, -2, "");
    EXPECT_EQ(grid.GetGraph(1).nSelect, -1);
    grid.SetSelect(7, 0, "07-0-1");
}

TEST(DataGridRects, TakenOnceAtTheFirstDrawAfterTheFirstPaint) {
    CDataGrid grid(TERM_DAY, 0.9999, 0.9999);
    CRecordingCanvas canvas;
    grid.OnPaint();
    grid.Draw(canvas, kClient);
    EXPECT_EQ(grid.ClientRect(), kClient);
    EXPECT_EQ(grid.TableRect(), (stRECT{0, 0, 989, 86}));
    grid.OnPaint();
    grid.Draw(canvas, {0, 0, 500, 40});
    EXPECT_EQ(grid.ClientRect(), kClient);
}

TEST(DataGridBadInput, TinyAndEmptyGridsDrawWithoutCrashing) {
    for (int nType : {TERM_DAY, TERM_MONTH, TERM_YEAR}) {
        for (stRECT rc : {stRECT{0, 0, 0, 0}, stRECT{0, 0, 5, 3}, stRECT{0, 0, 20, 200}, stRECT{10, 10, 0, 0}}) {
            for (int nCount : {0, 1, 31, 100000}) {
                CDataGrid grid(nType, 0.9999, 0.9999);
                grid.m_nDispSlots = 96;
                grid.m_nInterval = 0;
                CTestSeries s = CTestSeries::Bars(nCount, std::vector<double>(96, 1e308));
                s.AddLine(std::vector<double>(96, -1e308));
                stGRAPHDEF d = s.Def();
                grid.AddGraph(&d);
                CRecordingCanvas canvas;
                grid.OnPaint();
                grid.Draw(canvas, rc);
                EXPECT_FALSE(canvas.Ops().empty());
            }
        }
    }
}
