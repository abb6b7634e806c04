#include "graph/qt/GraphImage.h"

#include <QFileInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QSaveFile>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "graph/DataGrid.h"
#include "graph/GraphArea_Bar.h"
#include "graph/GraphDisplay.h"
#include "graph/GraphText.h"
#include "graph/TimeRange.h"
#include "graph/qt/QtCanvas.h"
#include "platform/ResourceModule.h"
#include "ui/Fonts.h"

namespace {

constexpr int IDD_GRAPH = 135;
constexpr int IDC_GRAPH_AREA = 1001;
constexpr int IDC_DATA_GRID = 1007;
constexpr int IDC_LEGEND_BOX1 = 1286;
constexpr int IDC_LEGEND_COLOR0 = 1288;
constexpr int IDC_LEGEND_LABEL0 = 1308;

// A control rectangle of the graph window in pixels, or the fallback (dialog units) when the
// template lacks it.
QRect ControlRect(int nId, QRect rcFallbackDlu) {
    QRect rc = rcFallbackDlu;
    if (const platform::stDLGTEMPLATE* pDlg = platform::CurrentResources()->FindDialog(IDD_GRAPH)) {
        if (const platform::stDLGCONTROL* pCtl = pDlg->Find(nId)) rc = QRect(pCtl->x, pCtl->y, pCtl->cx, pCtl->cy);
    } else if (const platform::stDLGTEMPLATE* pEnglish = platform::CResourceModule::English()->FindDialog(IDD_GRAPH)) {
        if (const platform::stDLGCONTROL* pCtl = pEnglish->Find(nId)) rc = QRect(pCtl->x, pCtl->y, pCtl->cx, pCtl->cy);
    }
    return QRect(platform::DluToPixelX(rc.x()), platform::DluToPixelY(rc.y()),
                 std::max(1, platform::DluToPixelX(rc.width())), std::max(1, platform::DluToPixelY(rc.height())));
}

// The graph controls' font without a widget: the face substituted as everywhere, weight 100, and a
// cell height of nSize pixels.
QFont GraphFont(float fSize, const std::string& strFace) {
    QFont font;
    font.setFamilies({SubstituteFontFace(QString::fromStdString(strFace)), QStringLiteral("DejaVu Sans")});
    font.setWeight(QFont::Thin);
    const int nSize = std::max(1, static_cast<int>(fSize));
    font.setPixelSize(nSize);
    const int nCell = QFontMetrics(font).height();
    if (nCell > 0 && nCell != nSize) {
        font.setPixelSize(std::max(1, static_cast<int>(std::lround(double(nSize) * nSize / nCell))));
    }
    return font;
}

}  // namespace

QImage RenderGraphImage(const logdata::stGRAPHCOND& cond, int nTermType, const logdata::stCONDDATA& data,
                        const stGRAPHIMAGE& view) {
    const QRect rcArea = ControlRect(IDC_GRAPH_AREA, QRect(7, 147, 571, 203));
    const QRect rcGrid = ControlRect(IDC_DATA_GRID, QRect(7, 352, 660, 54));
    const QRect rcColor = ControlRect(IDC_LEGEND_COLOR0, QRect(584, 153, 8, 8));
    const QRect rcLabel = ControlRect(IDC_LEGEND_LABEL0, QRect(593, 153, 27, 8));
    (void)IDC_LEGEND_BOX1;

    CGraphArea_Bar area(nTermType, 0.92, 0.85);
    CDataGrid grid(nTermType, 0.9999, 0.9999);
    stGRAPHDEF def;
    def.crColor = GRAPH_COLOR_COND1;
    def.strUnit = GraphString(IDS_UNIT_KWH);
    def.strName = FormatIntSafe(GraphString(IDS_COND_NAME), 1, "Cond%d");
    area.AddGraph(&def);
    grid.AddGraph(&def);
    CGraphDisplay display(area, grid);
    display.SetConditions(nTermType, &cond, nullptr);
    display.ShowLoadedData(1, &data, nullptr);
    if (nTermType == TERM_DAY && view.nDispSlots > 0) {
        area.m_nStartSlot = grid.m_nStartSlot = view.nStartSlot;
        area.m_nDispSlots = grid.m_nDispSlots = view.nDispSlots;
    }

    // The window lays the graph area out from its left edge to the data grid's right edge, less
    // the legend column of a line graph.
    const int nLines = display.LineCount(0);
    const bool bLegend = cond.nGraphType == logdata::GRAPH_LINE && nLines > 0;
    const int nLegendWidth = rcColor.width() + rcLabel.width() + 10;
    const int nRight = rcGrid.x() + rcGrid.width();
    const int nAreaRight = bLegend ? nRight - nLegendWidth - 5 : nRight;
    const int nAreaWidth = std::max(1, nAreaRight - rcArea.x());
    const int nWidth = rcGrid.width();
    const int nHeight = rcArea.height() + 1 + rcGrid.height();

    QImage image(nWidth, nHeight, QImage::Format_RGB32);
    image.fill(QColor(240, 240, 240));
    QPainter painter(&image);
    const QFont font = GraphFont(area.m_fFontSize, area.m_strFontName);
    CQtCanvas canvas(painter, font);

    area.OnPaint();
    area.Draw(canvas, {0, 0, nAreaWidth, rcArea.height()});

    if (bLegend) {
        const int nBoxLeft = nRight - nLegendWidth - rcGrid.x();
        canvas.FrameRect({nBoxLeft, 0, nBoxLeft + nLegendWidth, rcArea.height()}, RGB(160, 160, 160));
        const stGRAPHDEF& shown = area.GetGraph(0);
        for (int k = 0; k < nLines; ++k) {
            const int y = 15 + k * rcLabel.height();
            if (y + rcLabel.height() > rcArea.height()) break;
            const int x = nBoxLeft + 5;
            canvas.FillRect({x, y, x + rcColor.width(), y + rcColor.height()}, shown.crSubColor[k]);
            canvas.Text(x + rcColor.width() + 2, y, display.LineLabel(0, k));
        }
    }

    painter.translate(0, rcArea.height() + 1);
    grid.OnPaint();
    grid.Draw(canvas, {0, 0, rcGrid.width(), rcGrid.height()});
    painter.end();
    return image;
}

bool SaveGraphImage(const QImage& image, const std::string& strFile, std::string* pError) {
    const QString strPath = QString::fromStdString(strFile);
    const QString strExt = QFileInfo(strPath).suffix().toLower();
    const char* pFormat = nullptr;
    QImage out = image;
    if (strExt == QLatin1String("png")) {
        pFormat = "PNG";
    } else if (strExt == QLatin1String("bmp")) {
        pFormat = "BMP";
        out = image.convertToFormat(QImage::Format_RGB888);  // 24 bits a pixel
    } else {
        if (pError) *pError = "the image file must end in .png or .bmp: " + strFile;
        return false;
    }
    QSaveFile file(strPath);
    if (!file.open(QIODevice::WriteOnly) || !out.save(&file, pFormat) || !file.commit()) {
        if (pError) *pError = "cannot write " + strFile;
        return false;
    }
    return true;
}

bool WriteGraphImage(const logdata::stGRAPHCOND& cond, int nTermType, const logdata::stCONDDATA& data,
                     const std::string& strView, const std::string& strFile, std::string* pError) {
    const int nInterval = nTermType == TERM_DAY ? logdata::IntervalMinutes(cond.nIntervalKind) : 1;
    const stTIMERANGE* pRange = FindTimeRange(strView.empty() ? "whole" : strView, nTermType, nInterval);
    if (pRange == nullptr) {
        if (pError) *pError = "--view " + strView + " is not offered for this period and interval";
        return false;
    }
    const std::string strExt = strFile.size() >= 4 ? strFile.substr(strFile.size() - 4) : std::string();
    std::string strLower;
    for (char c : strExt) strLower += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (strLower != ".png" && strLower != ".bmp") {
        if (pError) *pError = "--image must name a .png or .bmp file: " + strFile;
        return false;
    }
    std::unique_ptr<QGuiApplication> pApp;
    if (QCoreApplication::instance() == nullptr) {
        // A tool's output stays clean: the platform's chatter about a headless session is not
        // the user's business; real failures still reach standard error.
        qInstallMessageHandler([](QtMsgType eType, const QMessageLogContext&, const QString& strMsg) {
            if (eType == QtCriticalMsg || eType == QtFatalMsg) std::fprintf(stderr, "%s\n", qPrintable(strMsg));
        });
        // Pictures need no display.
        if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
        static int argc = 1;
        static char strName[] = "lumetra-cli";
        static char* argv[] = {strName, nullptr};
        pApp = std::make_unique<QGuiApplication>(argc, argv);
    }
    stGRAPHIMAGE view;
    TimeRangeSlots(*pRange, std::clamp(logdata::SlotCount(cond, nTermType), 0, GRAPH_MAX_SLOTS), view.nStartSlot,
                   view.nDispSlots);
    const QImage image = RenderGraphImage(cond, nTermType, data, view);
    return SaveGraphImage(image, strFile, pError);
}
