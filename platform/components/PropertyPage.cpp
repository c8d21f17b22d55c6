#include "PropertyPage.h"

#include "OleControl.h"
#include "ServerModule.h"

namespace plat {

PropertyPage::PropertyPage(QWidget* parent) : QWidget(parent) { ServerModule::Lock(); }

PropertyPage::~PropertyPage() { ServerModule::Unlock(); }

void PropertyPage::SetObject(OleControl* control) {
    m_control = control;
    m_error.clear();
    if (m_control) load();
}

void PropertyPage::load() {
    m_loading = true;
    PageExchange dx(*m_control, false);
    DoDataExchange(dx);
    m_loading = false;
    m_dirty = false;
}

bool PropertyPage::Apply() {
    m_error.clear();
    if (!m_control) return false;
    PageExchange dx(*m_control, true);
    DoDataExchange(dx);
    if (!dx.ok()) {
        m_error = dx.error();
        if (dx.failedItem()) dx.failedItem()->setFocus();
        return false;
    }
    const bool ok = dx.Commit();
    // Show what the control kept: a setter may ignore a value (an unknown position).
    load();
    return ok;
}

void PropertyPage::SetDirtyCallback(std::function<void()> callback) {
    m_dirtyCallback = std::move(callback);
}

void PropertyPage::SetDirty(bool dirty) {
    if (m_loading) return;
    m_dirty = dirty;
    if (dirty && m_dirtyCallback) m_dirtyCallback();
}

}  // namespace plat
