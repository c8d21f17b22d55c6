#pragma once
#include "DlgAppt.h"
#include "IPreviewEditor.h"

// The booking editor as the print preview reads and moves it.
class ApptPreviewEditor : public IPreviewEditor {
public:
    explicit ApptPreviewEditor(DlgAppt& editor) : m_editor(editor) {}
    QWidget* EditorWindow() override { return &m_editor; }
    int32_t CurrentDate() override { return m_editor.CurrentDate(); }
    void setApptDate(int32_t day) override { m_editor.setApptDate(day); }
    void ShowBookings() override { m_editor.ShowBookings(); }
    plat::ComboBox& CbResource() override { return *m_editor.CbResource; }
    plat::Tabrix& LbTimeSlot() override { return *m_editor.LbTimeSlot; }

private:
    DlgAppt& m_editor;
};
