#include "ui/UiContext.h"

#include <optional>

#include "ui/Fonts.h"

namespace {
struct stUICONTEXT {
    std::optional<QFont> fontUI;
    QString strFace = QStringLiteral("MS UI Gothic");
    int nLanguage = 1;
};
stUICONTEXT& Context() {
    static stUICONTEXT context;
    return context;
}
}  // namespace

QFont CUiContext::InterfaceFont() {
    stUICONTEXT& c = Context();
    if (!c.fontUI) {
        QFont font;
        SetLanguageFont(nullptr, &font, 9, c.strFace);
        c.fontUI = font;
    }
    return *c.fontUI;
}

void CUiContext::SetInterfaceFont(const QFont& font) {
    Context().fontUI = font;
}
QString CUiContext::LanguageFace() {
    return Context().strFace;
}
void CUiContext::SetLanguageFace(const QString& strFace) {
    Context().strFace = strFace;
}
int CUiContext::Language() {
    return Context().nLanguage;
}
void CUiContext::SetLanguage(int nLanguage) {
    Context().nLanguage = nLanguage;
}
void CUiContext::Reset() {
    Context() = stUICONTEXT();
}
