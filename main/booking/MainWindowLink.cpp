#include "MainWindowLink.h"

#include <QApplication>

#include "ClsForms.h"
#include "DlgMain.h"
#include "SharedObjects.h"

DlgMain* MainWindowLink::Find() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* main = qobject_cast<DlgMain*>(w)) return main;
    return nullptr;
}

int32_t MainWindowLink::GroupId() {
    const DlgMain* main = Find();
    return main && main->CbGroup ? SharedObjects::Forms().GetComboData(*main->CbGroup) : -1;
}
