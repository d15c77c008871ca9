#include "app/desktop_services.h"
#include "app/frm_main.h"

#include <QApplication>

int main(int argc, char *argv[]) {
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
