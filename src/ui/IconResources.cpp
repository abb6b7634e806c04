#include "ui/IconResources.h"

#include <QFile>
#include <QSvgRenderer>

// At global scope: the resource initializer is a global function.
static void InitIcons() {
    // The resources live in a static library; naming them keeps the linker from dropping them.
    static const bool bDone = [] {
        Q_INIT_RESOURCE(icons);
        return true;
    }();
    (void)bDone;
}

namespace {
QString IconPath(int nId) {
    return QStringLiteral(":/icons/%1.svg").arg(nId);
}
}  // namespace

QIcon LoadIconRes(int nId) {
    InitIcons();
    const QString strPath = IconPath(nId);
    if (!QFile::exists(strPath)) return QIcon();
    return QIcon(strPath);
}

QSize IconResSize(int nId) {
    InitIcons();
    const QString strPath = IconPath(nId);
    if (QFile::exists(strPath)) {
        QSvgRenderer renderer(strPath);
        if (renderer.isValid() && !renderer.defaultSize().isEmpty()) return renderer.defaultSize();
    }
    return QSize(32, 32);
}
