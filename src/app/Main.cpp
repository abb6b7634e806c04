#include <QApplication>

#include "app/LumetraApp.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    CLumetraApp app;
    app.ParseCommandLine(argc, argv);
    app.InitInstance();
    return app.m_nExitCode;
}
