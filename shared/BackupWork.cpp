#include "BackupWork.h"

#include <QLocale>

#include "ClsDate.h"
#include "IHostWindow.h"
#include "SharedObjects.h"

BackupWork::BackupWork() {
    s_running = true;
    if (IHostWindow* host = SharedObjects::Host()) host->SetInputEnabled(false);
}

BackupWork::~BackupWork() {
    Panel("Task", QString());
    Panel("Person", QString());
    if (IHostWindow* host = SharedObjects::Host()) host->SetInputEnabled(true);
    s_running = false;
}

void BackupWork::Panel(const char* key, const QString& text) {
    if (IHostWindow* host = SharedObjects::Host()) host->SetPanelText(key, text);
}

QString BackupWork::DayText(int32_t day) {
    // The last one is kept: the bookings come day by day.
    static int32_t lastDay = INT32_MIN;
    static QString text;
    if (day != lastDay) {
        text = QLocale::c().toString(SharedObjects::Date().LongToDate(day), "d MMMM yyyy");
        lastDay = day;
    }
    return text;
}
