#include "ui/Fonts.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace {

const char* const kFallbackFace = "DejaVu Sans";

bool IsInstalled(const QString& strFace) {
    // Without an application object the font database cannot be asked; trust the table then.
    if (!QGuiApplication::instance()) return true;
    return QFontDatabase::hasFamily(strFace);
}

void ApplyFace(QFont& font, const QString& strFace) {
    QString strReal = SubstituteFontFace(strFace);
    font.setFamilies(QStringList{strReal, QString::fromLatin1(kFallbackFace)});
}

}  // namespace

QString SubstituteFontFace(const QString& strFace) {
    QString strReal = strFace;
    if (strFace.compare(QLatin1String("MS UI Gothic"), Qt::CaseInsensitive) == 0)
        strReal = QStringLiteral("Noto Sans CJK JP");
    else if (strFace.compare(QLatin1String("NSimSun"), Qt::CaseInsensitive) == 0)
        strReal = QStringLiteral("Noto Sans CJK SC");
    if (strReal.isEmpty() || !IsInstalled(strReal)) strReal = QString::fromLatin1(kFallbackFace);
    return strReal;
}

bool SetLanguageFont(QWidget* pControl, QFont* pFont, int nSize, const QString& strFace) {
    if (!pFont) return false;
    QFont font;
    ApplyFace(font, strFace.isEmpty() ? QStringLiteral("MS UI Gothic") : strFace);
    font.setPointSize(nSize <= 0 ? 9 : nSize);
    *pFont = font;
    if (pControl) pControl->setFont(font);
    return true;
}

bool SetBoldFont(QWidget* pControl, QFont* pFont, int nSize, const QString& strFace, int nWeight) {
    if (!pControl || !pFont) return false;
    QFont font = pControl->font();
    // 0 is "any weight", which renders as normal.
    int nQtWeight = nWeight <= 0 ? 400 : std::min(nWeight, 1000);
    font.setWeight(static_cast<QFont::Weight>(nQtWeight));
    if (!strFace.isEmpty()) ApplyFace(font, strFace.left(31));
    if (nSize < 0) {
        font.setPixelSize(-nSize);  // a character height
    } else if (nSize > 0) {
        // A cell height: find the pixel size whose line height is nSize.
        font.setPixelSize(nSize);
        int nCell = QFontMetrics(font).height();
        if (nCell > 0 && nCell != nSize)
            font.setPixelSize(std::max(1, static_cast<int>(std::lround(double(nSize) * nSize / nCell))));
    }
    *pFont = font;
    pControl->setFont(font);
    return true;
}
