#include "app/desktop_services.h"
#include "app/frm_main.h"
#include "app/german_translations.h"
#include "app/path_report.h"

#include <QApplication>
#include <cstring>
#include <iostream>

int main(int argc, char *argv[]) {
    // A check for installations and packages: no window, just where the
    // manual and Qt's German texts were found. It runs in a terminal without
    // a display (over ssh, in a package test), so it needs no GUI.
    if (argc == 2 && std::strcmp(argv[1], "--pfade") == 0) {
        QCoreApplication app(argc, argv);
        quandel::InstallGermanTranslations(app);
        return quandel::ReportPaths(std::cout);
    }
    QApplication app(argc, argv);
    quandel::SetUpApplication(app);
    quandel::DesktopServices services;
    quandel::FrmMain window(services.Services());
    window.Startup();
    // A file named on the command line (the desktop's "open with") opens in
    // the editor.
    if (const QStringList args = app.arguments(); args.size() > 1)
        window.OpenInEditor(args.at(1));
    window.show();
    return app.exec();
}
