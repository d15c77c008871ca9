#include "app/desktop_services.h"
#include "app/frm_main.h"
#include "app/path_report.h"

#include <QApplication>
#include <iostream>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    quandel::SetUpApplication(app);
    // A check for installations and packages: no window, just where the
    // manual and Qt's German texts were found.
    if (const QStringList args = app.arguments();
        args.size() == 2 && args.at(1) == QLatin1String("--pfade"))
        return quandel::ReportPaths(std::cout);
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
