#pragma once
#include <QIcon>
#include <QSize>

// The program's icons (resources/icons/<id>.svg, built into the program):
// 128 program, 157 next arrow, 158 previous arrow, 162 print, 168 register
// favorite, 169 display graph, 170 display comparative graph, 171 comparative
// graph, 172 graph, 180 CO2 conversion, 181 import files, 183 save screen.
// A null icon for an unknown id.
QIcon LoadIconRes(int nId);
// The size an icon is drawn at unless a caller says otherwise (its SVG's own
// width and height); 32 x 32 for an unknown id.
QSize IconResSize(int nId);
