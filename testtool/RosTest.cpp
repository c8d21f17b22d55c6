// RosTest: fills the shared database with random bookings, for load tests.
#include <QApplication>

#include "DlgMain.h"
#include "SharedObjects.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int rc = 0;
    {
        DlgMain window;
        if (window.Form_Load()) {
            window.show();
            rc = app.exec();
        } else {
            rc = 1;
        }
    }
    // The database stays open for the program's whole life; this closes it.
    SharedObjects::Release();
    return rc;
}
