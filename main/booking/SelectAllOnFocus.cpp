#include "SelectAllOnFocus.h"

#include <QEvent>
#include <QLineEdit>
#include <QTimer>

#include "ClsForms.h"
#include "SharedObjects.h"

SelectAllOnFocus::SelectAllOnFocus(QLineEdit* box) : QObject(box), m_box(box) {}

void SelectAllOnFocus::Install(QLineEdit* box) {
    if (box) box->installEventFilter(new SelectAllOnFocus(box));
}

bool SelectAllOnFocus::eventFilter(QObject* watched, QEvent* event) {
    // Queued: a mouse press that gave the focus would place the cursor afterwards.
    if (watched == m_box && event->type() == QEvent::FocusIn)
        QTimer::singleShot(0, m_box,
                           [box = m_box] { SharedObjects::Forms().SelectAllText(*box); });
    return false;
}
