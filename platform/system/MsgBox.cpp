#include "MsgBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace plat {
namespace {
MsgBoxHook& hook() {
    static MsgBoxHook h;
    return h;
}
BeforeShow& beforeShow() {
    static BeforeShow b;
    return b;
}
}  // namespace

void SetMsgBoxHook(MsgBoxHook h) { hook() = std::move(h); }

void SetBeforeShow(BeforeShow before) { beforeShow() = std::move(before); }

int MsgBox(const QString& message, int style, const QString& title) {
    QString prompt = message;
    if (beforeShow())
        if (const QString added = beforeShow()(); !added.isEmpty()) prompt += "\r\n\r\n" + added;
    if (hook()) return hook()(prompt, style, title);
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(title);
    box.setText(prompt);
    switch (style & 0x70) {
        case vbCritical: box.setIcon(QMessageBox::Critical); break;
        case vbQuestion: box.setIcon(QMessageBox::Question); break;
        case vbExclamation: box.setIcon(QMessageBox::Warning); break;
        case vbInformation: box.setIcon(QMessageBox::Information); break;
        default: break;
    }
    const bool yesNo = (style & 0x7) == vbYesNo;
    const bool okCancel = (style & 0x7) == vbOKCancel;
    QPushButton* first = box.addButton(yesNo ? QMessageBox::Yes : QMessageBox::Ok);
    QPushButton* second = nullptr;
    if (yesNo) second = box.addButton(QMessageBox::No);
    if (okCancel) second = box.addButton(QMessageBox::Cancel);
    box.setDefaultButton((style & vbDefaultButton2) && second ? second : first);
    box.exec();
    const QAbstractButton* pressed = box.clickedButton();
    if (yesNo) return pressed == second ? vbNo : vbYes;
    if (okCancel) return pressed == second ? vbCancel : vbOK;
    return vbOK;
}

}  // namespace plat
