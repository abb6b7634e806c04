#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QWidget>

#include "QtTestApp.h"
#include "graph/DataGrid.h"
#include "graph/GraphArea_Bar.h"
#include "graph/TimeRange.h"
#include "graph/qt/CanvasView.h"
#include "graph/qt/GraphImage.h"
#include "graph/qt/ProgressLoadView.h"
#include "ui/ProgressDlg.h"

namespace {

QColor Pixel(const QImage& image, int x, int y) {
    return image.pixelColor(x, y);
}

logdata::stGRAPHCOND Cond(int nInterval, int nType = logdata::GRAPH_BAR) {
    logdata::stGRAPHCOND cond;
    cond.nYear = 2024;
    cond.nMonth = 5;
    cond.nDay = 2;
    cond.nIntervalKind = nInterval;
    cond.nGraphType = nType;
    cond.wSelect[7] = 1;
    return cond;
}

// Where slot column j of the plot lies in an image of a graph area nAreaWidth wide.
CGraphArea_Bar::stLAYOUT Layout(int nAreaWidth, int nDispSlots) {
    CGraphArea_Bar area(TERM_DAY, 0.92, 0.85);
    area.m_nDispSlots = nDispSlots;
    area.SetClientRect({0, 0, nAreaWidth, 329});
    return area.CalcLayout();
}

}  // namespace

class GraphImageTest : public testing::Test {
protected:
    void SetUp() override { GraphTestApp(); }
};

TEST_F(GraphImageTest, ConditionOneBarsAreBlueInTheirSlotColumn) {
    logdata::stCONDDATA data;
    data.nSlotCount = 24;
    data.dSlotSum[5] = 10.0;
    data.bSlotHas[5] = 1;
    data.bSlotHas[4] = 1;  // a valid zero: no bar
    QImage image = RenderGraphImage(Cond(logdata::INTERVAL_60), TERM_DAY, data, {});
    // The window's template: graph area 571 x 203, data grid 660 x 54 dialog units; no legend for bars.
    ASSERT_EQ(image.width(), 990);
    ASSERT_EQ(image.height(), 329 + 1 + 87);
    auto layout = Layout(990, 24);
    const int w = layout.nSlotWidth;
    const int xBar = layout.rcPlot.left + 5 * w + w / 2;
    const int y = layout.rcPlot.bottom - 5;
    EXPECT_EQ(Pixel(image, xBar, y), QColor(0, 0, 255));
    EXPECT_EQ(Pixel(image, xBar, layout.rcPlot.top + 3), QColor(0, 0, 255));  // 10 is the top of the scale
    EXPECT_EQ(Pixel(image, xBar - w, y), QColor(255, 255, 255));
    EXPECT_EQ(Pixel(image, xBar + w, y), QColor(255, 255, 255));
    // 60% of the column: the column's edges stay white.
    EXPECT_EQ(Pixel(image, layout.rcPlot.left + 5 * w + 1, y), QColor(255, 255, 255));
    // The table below: the value cell of slot 5 is white, the title column the button face.
    EXPECT_EQ(Pixel(image, 2, 330 + 10), QColor(240, 240, 240));
}

TEST_F(GraphImageTest, QuarterHourViewShowsItsPartOfTheDay) {
    logdata::stCONDDATA data;
    data.nSlotCount = 96;
    data.dSlotSum[51] = 4.0;  // 12:45
    data.bSlotHas[51] = 1;
    const stTIMERANGE* pRange = FindTimeRange("12-18", TERM_DAY, 15);
    ASSERT_NE(pRange, nullptr);
    stGRAPHIMAGE view;
    TimeRangeSlots(*pRange, 96, view.nStartSlot, view.nDispSlots);
    EXPECT_EQ(view.nStartSlot, 48);
    EXPECT_EQ(view.nDispSlots, 24);
    QImage image = RenderGraphImage(Cond(logdata::INTERVAL_15), TERM_DAY, data, view);
    auto layout = Layout(990, 24);
    const int w = layout.nSlotWidth;
    EXPECT_EQ(Pixel(image, layout.rcPlot.left + 3 * w + w / 2, layout.rcPlot.bottom - 5), QColor(0, 0, 255));
    EXPECT_EQ(Pixel(image, layout.rcPlot.left + 2 * w + w / 2, layout.rcPlot.bottom - 5), QColor(255, 255, 255));
}

TEST_F(GraphImageTest, LineGraphLeavesRoomForItsLegend) {
    logdata::stCONDDATA data;
    data.nSlotCount = 24;
    data.nLineCount = 2;
    for (int j = 0; j < 2; ++j) {
        data.lines[static_cast<size_t>(j)].strLabel = j == 0 ? "07-0-1" : "07-0-2";
        for (int k = 0; k < 24; ++k) {
            data.lines[static_cast<size_t>(j)].dValue[static_cast<size_t>(k)] = j + 1;
            data.lines[static_cast<size_t>(j)].bHas[static_cast<size_t>(k)] = 1;
        }
    }
    QImage image = RenderGraphImage(Cond(logdata::INTERVAL_60, logdata::GRAPH_LINE), TERM_DAY, data, {});
    // Legend: colour box 12 + label 40 + 10 pixels, the graph area 5 pixels left of it.
    const int nAreaWidth = 990 - 62 - 5;
    auto layout = Layout(nAreaWidth, 24);
    // Line 1 (index 1, highlighted? no: line 0 is) lies at 2 of the scale 0..2; the dot of slot 3.
    const int w = layout.nSlotWidth;
    const int x = layout.rcPlot.left + 3 * w + w / 2;
    EXPECT_EQ(Pixel(image, x, layout.rcPlot.top + 2), QColor(0, 50, 0));  // line 1 at the top of the scale
    // The legend's first colour box in line 0's colour.
    EXPECT_EQ(Pixel(image, 990 - 62 + 5 + 3, 15 + 3), QColor(255, 128, 0));
}

TEST_F(GraphImageTest, SavesPngAndTwentyFourBitBmpAndRefusesOtherNames) {
    logdata::stCONDDATA data;
    data.nSlotCount = 12;
    data.dSlotSum[0] = 1;
    data.bSlotHas[0] = 1;
    QImage image = RenderGraphImage(Cond(0), TERM_YEAR, data, {});
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    std::string strError;
    const std::string strBmp = dir.filePath("graph.bmp").toStdString();
    ASSERT_TRUE(SaveGraphImage(image, strBmp, &strError)) << strError;
    QFile bmp(QString::fromStdString(strBmp));
    ASSERT_TRUE(bmp.open(QIODevice::ReadOnly));
    const QByteArray header = bmp.read(30);
    ASSERT_EQ(header.size(), 30);
    EXPECT_EQ(header.left(2), QByteArray("BM"));
    EXPECT_EQ(static_cast<unsigned char>(header[28]), 24u);  // bits a pixel
    QImage back(QString::fromStdString(strBmp));
    EXPECT_EQ(back.size(), image.size());
    EXPECT_EQ(back.pixelColor(100, 100), image.pixelColor(100, 100));

    const std::string strPng = dir.filePath("graph.PNG").toStdString();
    ASSERT_TRUE(SaveGraphImage(image, strPng, &strError)) << strError;
    EXPECT_EQ(QImage(QString::fromStdString(strPng)).size(), image.size());

    EXPECT_FALSE(SaveGraphImage(image, dir.filePath("graph.gif").toStdString(), &strError));
    EXPECT_FALSE(QFile::exists(dir.filePath("graph.gif")));
    EXPECT_FALSE(SaveGraphImage(image, dir.filePath("missing/graph.png").toStdString(), &strError));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2);  // no half files left behind
}

TEST_F(GraphImageTest, ControlsPaintOnTheirWidgets) {
    CGraphArea_Bar area(TERM_DAY, 0.92, 0.85);
    CDataGrid grid(TERM_DAY, 0.9999, 0.9999);
    std::array<double, 96> values{};
    std::array<std::uint8_t, 96> valid{};
    values[0] = 18;
    valid[0] = 1;
    stGRAPHDEF def;
    def.nEnable = 1;
    def.nCount = 24;
    def.crColor = GRAPH_COLOR_COND1;
    def.pdValue = values.data();
    def.pbValid = valid.data();
    def.strUnit = def.strKind = "kWh";
    area.AddGraph(&def);
    grid.AddGraph(&def);
    area.m_nDispSlots = grid.m_nDispSlots = 24;
    area.m_nInterval = grid.m_nInterval = 60;

    QWidget areaWidget, gridWidget;
    areaWidget.resize(856, 329);
    gridWidget.resize(990, 87);
    CCanvasView::AttachGraphArea(&areaWidget, area);
    CCanvasView::AttachDataGrid(&gridWidget, grid);
    EXPECT_EQ(areaWidget.font().weight(), QFont::Thin);

    QImage shot = areaWidget.grab().toImage();
    auto layout = area.CalcLayout();
    EXPECT_EQ(shot.pixelColor(layout.rcPlot.left + layout.nSlotWidth / 2, layout.rcPlot.bottom - 5), QColor(0, 0, 255));
    EXPECT_EQ(area.ClientRect(), (stRECT{0, 0, 856, 329}));

    // A resize marks a new client rectangle for the next paint.
    areaWidget.resize(600, 300);
    areaWidget.grab();
    EXPECT_EQ(area.ClientRect(), (stRECT{0, 0, 600, 300}));

    QImage table = gridWidget.grab().toImage();
    EXPECT_EQ(grid.ClientRect(), (stRECT{0, 0, 990, 87}));
    // The first header cell's outline at the top margin, the value cell below it white.
    EXPECT_EQ(table.pixelColor(0, 1), QColor(0, 0, 0));
    EXPECT_EQ(table.pixelColor(76 + 5, 22 + 5), QColor(255, 255, 255));
}

TEST_F(GraphImageTest, ProgressViewDrivesTheProgressDialogAndEscapeCancels) {
    QWidget owner;
    owner.resize(400, 300);
    CProgressLoadView progress(&owner);
    progress.SetContinue(true);
    progress.Open("Loading data files ...", "Loading graph data ...");
    ASSERT_NE(progress.Dialog(), nullptr);
    EXPECT_EQ(progress.Dialog()->windowTitle(), QString("Loading data files ..."));
    EXPECT_EQ(progress.Dialog()->Text(), QString("Loading graph data ..."));
    progress.SetRange(200);
    progress.Step(1);
    progress.Step(30);
    EXPECT_EQ(progress.Dialog()->Pos(), 31);
    EXPECT_TRUE(progress.Continue());
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(progress.Dialog(), &escape);
    EXPECT_FALSE(progress.Continue());
    EXPECT_TRUE(progress.Dialog()->isVisible());  // Cancel only clears the flag
    progress.Close();
    EXPECT_EQ(progress.Dialog(), nullptr);
}
