#pragma once
#include <QApplication>

// The one application object of the graph Qt tests (offscreen, set by the test runner).
inline QApplication& GraphTestApp() {
    static int argc = 1;
    static char name[] = "graph_qt_tests";
    static char* argv[] = {name, nullptr};
    if (auto* pApp = qobject_cast<QApplication*>(QCoreApplication::instance())) return *pApp;
    static QApplication* pApp = new QApplication(argc, argv);
    return *pApp;
}
