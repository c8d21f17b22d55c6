#pragma once
#include "PropertyPage.h"

// The About page: the control's name and version; it edits nothing.
class CAboutPropPage : public plat::PropertyPage {
    Q_OBJECT

public:
    explicit CAboutPropPage(QWidget* parent = nullptr);
    QString Caption() const override { return "About"; }

protected:
    void DoDataExchange(plat::PageExchange&) override {}
};
