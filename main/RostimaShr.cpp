// RostimaShr: the main scheduling program.
#include "Application.h"

#include "BookingCommands.h"
#include "DlgAppt.h"
#include "DlgMain.h"
#include "DlgPreview.h"

int main(int argc, char** argv) {
    plat::Application app(argc, argv);
    QApplication::setApplicationName("RostimaShr");
    auto* window = new DlgMain;
    window->setAttribute(Qt::WA_DeleteOnClose);
    if (!window->Form_Load()) return 1;
    DlgAppt::Install();
    BookingCommands::InstallEditorDialogs();
    DlgPreview::Install();
    window->show();
    return app.exec();
}
