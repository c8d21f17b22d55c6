// RosOptions: sets this workstation's read-only switch in Rostima.ini of its folder.
#include <QApplication>

#include "DlgSetOptions.h"
#include "SharedObjects.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int rc = 0;
    {
        DlgSetOptions window;
        if (window.Form_Load()) {
            window.show();
            rc = app.exec();
        } else {
            rc = 1;
        }
    }
    SharedObjects::Release();
    return rc;
}
