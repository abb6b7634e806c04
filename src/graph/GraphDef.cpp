#include "graph/GraphDef.h"

const COLORREF g_crLineColor[GRAPH_LINE_COLORS] = {
    RGB(255, 128, 0),   RGB(0, 50, 0),      RGB(0, 255, 255),   RGB(255, 255, 0),   RGB(255, 0, 255),
    RGB(92, 148, 99),   RGB(128, 128, 128), RGB(255, 128, 128), RGB(128, 128, 255), RGB(255, 255, 128),
    RGB(128, 128, 0),   RGB(128, 0, 128),   RGB(0, 128, 128),   RGB(192, 192, 192), RGB(255, 0, 0),
    RGB(128, 255, 128), RGB(0, 0, 64),      RGB(255, 128, 128), RGB(128, 255, 255), RGB(128, 192, 255),
    RGB(255, 255, 192),
};
