#include "app/desktop_services.h"
#include "app/frm_main.h"

#include <QApplication>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    quandel::SetUpApplication(app);
    quandel::DesktopServices services;
    quandel::FrmMain window(services.Services());
    window.Startup();
    window.show();
    return app.exec();
}
