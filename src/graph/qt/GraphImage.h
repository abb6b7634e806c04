#pragma once
#include <QImage>
#include <string>

#include "logdata/GraphCond.h"
#include "logdata/GraphLoader.h"

// A picture of one loaded condition as the graph window shows it: the graph area above the data
// grid, at their sizes in the window (controls 1001 and 1007 of the window's template), with the
// series settings the window gives a single condition, and a legend for a line graph.
struct stGRAPHIMAGE {
    int nStartSlot = 0;   // the visible part of a day (time-range button); whole day by default
    int nDispSlots = -1;  // -1: the whole period
};

// Renders into an image. Needs a QGuiApplication (offscreen is enough).
QImage RenderGraphImage(const logdata::stGRAPHCOND& cond, int nTermType, const logdata::stCONDDATA& data,
                        const stGRAPHIMAGE& view);

// Renders and writes the file, its format by the extension: .png, or .bmp (24 bits a pixel).
// Written under a temporary name and renamed, so a failure never leaves a half file. False with a
// message for an unknown extension or a file that cannot be written.
bool SaveGraphImage(const QImage& image, const std::string& strFile, std::string* pError);

// The whole of `lumetra-cli graph --image FILE [--view NAME]` after the load: picks the view by
// the name of a time-range button ("whole" when empty), makes sure a QGuiApplication exists
// (offscreen when no platform is chosen), renders and writes the file. False with a message for
// a view the period does not offer, an unknown extension or a file that cannot be written.
bool WriteGraphImage(const logdata::stGRAPHCOND& cond, int nTermType, const logdata::stCONDDATA& data,
                     const std::string& strView, const std::string& strFile, std::string* pError);
