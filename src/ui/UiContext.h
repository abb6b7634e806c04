#pragma once
#include <QFont>
#include <QString>

// What the ui layer needs to know of the application without depending on it:
// the interface font (the program's m_fontUI, 9 points in the language face)
// and the language. The application object sets them at start-up and after a
// language switch; until then they hold the English defaults.
class CUiContext {
public:
    // The interface font every dialog sets on itself.
    static QFont InterfaceFont();
    static void SetInterfaceFont(const QFont& font);
    // The face of the interface language ("MS UI Gothic" or "NSimSun"), before substitution.
    static QString LanguageFace();
    static void SetLanguageFace(const QString& strFace);
    // The language index: 0 Japanese, 1 English, 2 Chinese.
    static int Language();
    static void SetLanguage(int nLanguage);
    // Back to the defaults (tests).
    static void Reset();
};
