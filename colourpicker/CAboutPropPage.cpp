#include "CAboutPropPage.h"

#include <QLabel>
#include <QVBoxLayout>

#include "TintoraAboutDlg.h"

CAboutPropPage::CAboutPropPage(QWidget* parent) : plat::PropertyPage(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(TintoraAboutDlg::AboutText(), this));
    layout->addStretch();
}
