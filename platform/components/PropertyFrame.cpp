#include "PropertyFrame.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "ModalHook.h"
#include "ObjectCreator.h"
#include "OleControl.h"
#include "PropertyPage.h"

namespace plat {

PropertyFrame::PropertyFrame(QWidget* parent)
    : QDialog(parent),
      m_tabs(new QTabWidget(this)),
      m_error(new QLabel(this)),
      m_ok(new QPushButton("OK", this)),
      m_cancel(new QPushButton("Cancel", this)),
      m_apply(new QPushButton("&Apply", this)) {
    setWindowTitle("Properties");
    m_error->setWordWrap(true);
    m_error->hide();
    m_ok->setDefault(true);
    m_apply->setEnabled(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    buttons->addWidget(m_apply);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(m_error);
    layout->addLayout(buttons);
    connect(m_ok, &QPushButton::clicked, this, [this] {
        if (ApplyAll()) accept();
    });
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_apply, &QPushButton::clicked, this, [this] { ApplyAll(); });
}

void PropertyFrame::AddPagesOf(OleControl* control) {
    if (!control) return;
    for (const ClassId& id : control->PropertyPageIds()) {
        PropertyPage* page = ObjectCreator::CreatePropertyPage(id, nullptr);
        if (!page) continue;
        AddPage(page);
        page->SetObject(control);
    }
}

void PropertyFrame::AddPage(PropertyPage* page) {
    if (!page) return;
    m_pages.push_back(page);
    m_tabs->addTab(page, page->Caption());
    page->SetDirtyCallback([this] { pageEdited(); });
}

PropertyPage* PropertyFrame::Page(int index) const {
    return index >= 0 && index < PageCount() ? m_pages[index] : nullptr;
}

QString PropertyFrame::ErrorText() const {
    return m_error->isHidden() ? QString() : m_error->text();
}

void PropertyFrame::pageEdited() {
    m_apply->setEnabled(true);
    m_error->hide();
}

bool PropertyFrame::ApplyAll() {
    for (PropertyPage* page : m_pages) {
        if (!page->IsDirty()) continue;
        if (!page->Apply()) {
            m_tabs->setCurrentWidget(page);
            m_error->setText(page->ErrorText());
            m_error->setVisible(!page->ErrorText().isEmpty());
            return false;
        }
    }
    m_error->hide();
    m_apply->setEnabled(false);
    return true;
}

int PropertyFrame::Exec() { return ModalHook::Exec(*this); }

}  // namespace plat
