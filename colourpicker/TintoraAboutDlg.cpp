#include "TintoraAboutDlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

TintoraAboutDlg::TintoraAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle("About Tintora");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(AboutText(), this));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}

QString TintoraAboutDlg::AboutText() {
    return "Tintora Control, Version 1.0\nA pop-up palette of 48 colours.";
}
