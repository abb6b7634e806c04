// The graph area and the data grid in a window built from the graph window's template, loaded
// with the progress dialog as the graph window will do it.
#include <gtest/gtest.h>

#include <unistd.h>

#include <QApplication>
#include <QImage>
#include <cstdlib>
#include <filesystem>

#include "QtTestApp.h"
#include "graph/GraphDisplay.h"
#include "graph/qt/CanvasView.h"
#include "graph/qt/ProgressLoadView.h"
#include "ui/ContinueFlag.h"
#include "ui/DialogBase.h"
#include "ui/ProgressDlg.h"

namespace {

// A progress view that presses Cancel (as Escape in the progress dialog does) after some steps.
class CCancellingView : public CProgressLoadView {
public:
    using CProgressLoadView::CProgressLoadView;
    int nCancelAt = -1;
    int nSteps = 0;
    bool bSawDialog = false;
    void Step(int n) override {
        bSawDialog = bSawDialog || (Dialog() != nullptr && Dialog()->isVisible());
        CProgressLoadView::Step(n);
        nSteps += n;
        if (nCancelAt >= 0 && nSteps >= nCancelAt) CContinueFlag::Clear();
    }
};

}  // namespace

TEST(GraphHost, WindowTemplateHoldsTheControlsAndShowsALoad) {
    GraphTestApp();
    std::string tmpl = (std::filesystem::temp_directory_path() / "lumetra-graphhost-XXXXXX").string();
    ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
    const std::string strBin = std::filesystem::read_symlink("/proc/self/exe").parent_path().string();
    const std::string cmd = strBin + "/lumetra-sample --out " + tmpl + "/Log --days 2 --end 2024-05-02 --seed 1";
    ASSERT_EQ(std::system(cmd.c_str()), 0);

    CDialogBase host(135);
    ASSERT_TRUE(host.Create(nullptr));
    QWidget* pAreaWidget = host.GetDlgItem(1001);
    QWidget* pGridWidget = host.GetDlgItem(1007);
    ASSERT_NE(pAreaWidget, nullptr);
    ASSERT_NE(pGridWidget, nullptr);
    EXPECT_EQ(pAreaWidget->size(), QSize(856, 329));
    EXPECT_EQ(pGridWidget->size(), QSize(990, 87));

    CGraphArea_Bar area(TERM_DAY, 0.92, 0.85);
    CDataGrid grid(TERM_DAY, 0.9999, 0.9999);
    stGRAPHDEF def;
    def.crColor = GRAPH_COLOR_COND1;
    def.strUnit = "kWh";
    def.strName = "Cond1";
    ASSERT_EQ(area.AddGraph(&def), 0);
    ASSERT_EQ(grid.AddGraph(&def), 0);
    CCanvasView::AttachGraphArea(pAreaWidget, area);
    CCanvasView::AttachDataGrid(pGridWidget, grid);

    logdata::stGRAPHCOND cond;
    cond.nYear = 2024;
    cond.nMonth = 5;
    cond.nDay = 1;
    cond.wSelect[12] = 1;
    CGraphDisplay display(area, grid);
    display.SetConditions(TERM_DAY, &cond, nullptr);
    logdata::stLOADSETTINGS settings;
    settings.strDataPath = settings.strStartDir = tmpl + "/Log";
    settings.now = platform::LocalTime{2024, 5, 3, 12, 0, 0, 5};

    host.show();
    CCancellingView progress(&host);
    ASSERT_EQ(display.LoadGraphData(1, settings, progress), 1);
    EXPECT_TRUE(progress.bSawDialog);
    EXPECT_EQ(progress.Dialog(), nullptr);  // destroyed at the end of the load
    EXPECT_TRUE(progress.Continue());
    const double dTotal = display.Total(0);
    EXPECT_GT(dTotal, 0.0);

    // The loaded bars are on the window, in the graph area's rectangle.
    QImage shot = host.grab().toImage();
    const QPoint origin = pAreaWidget->mapTo(&host, QPoint(0, 0));
    auto layout = area.CalcLayout();
    int nBlue = 0;
    for (int x = layout.rcPlot.left; x < layout.rcPlot.right; ++x) {
        nBlue += shot.pixelColor(origin.x() + x, origin.y() + layout.rcPlot.bottom - 2) == QColor(0, 0, 255);
    }
    EXPECT_GT(nBlue, 24 * 5);

    // The next day, cancelled half-way: what is shown stays as it was.
    cond.nDay = 2;
    CCancellingView cancelling(&host);
    cancelling.nCancelAt = 50;
    ASSERT_EQ(display.LoadGraphData(1, settings, cancelling), 1);
    EXPECT_FALSE(cancelling.Continue());
    EXPECT_EQ(cancelling.nSteps, 50);
    EXPECT_EQ(display.Total(0), dTotal);
    CContinueFlag::Set(1);

    std::error_code ec;
    std::filesystem::remove_all(tmpl, ec);
}
