#pragma once
#include <QFont>
#include <QString>

class QWidget;

// The font helpers with which every dialog makes its language fonts.
//
// Faces are substituted so every machine renders the same glyphs:
// "MS UI Gothic" -> "Noto Sans CJK JP", "NSimSun" -> "Noto Sans CJK SC";
// a face (or substitute) that is not installed becomes "DejaVu Sans".
QString SubstituteFontFace(const QString& strFace);

// Creates a point font of nSize points (0 or less: 9) in the face strFace
// (empty: "MS UI Gothic") into *pFont and, when pControl is given, sets it on
// the control. False at once when pFont is nullptr.
bool SetLanguageFont(QWidget* pControl, QFont* pFont, int nSize, const QString& strFace);

// Re-creates the control's current font with the weight nWeight (700 bold,
// 100 thin; QFont's scale is the same), and, when nSize is not 0, a cell height
// (ascent plus descent) of nSize pixels; when strFace is not empty, that face
// (at most 31 characters). The result goes into *pFont and onto the control.
// False at once when pControl or pFont is nullptr.
bool SetBoldFont(QWidget* pControl, QFont* pFont, int nSize, const QString& strFace, int nWeight);
