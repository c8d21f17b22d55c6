#pragma once
#include <QDialog>
#include <array>
#include <cstdint>

#include "ClsGroup.h"

class QLabel;
class QLineEdit;
class QPushButton;
namespace plat {
class Nudgel;
}

// The group editor: the name, working day and slot length of the program's shared group
// record, which the opener prepares (reset for a new group, loaded for an edit). Save
// writes it and leaves its id in it; Cancel resets it, so its id is 0.
//
// The dialog keeps its own copy of the record as prepared and edited, and puts it back
// into the shared record at every step and at Save: whatever else loads a group into the
// shared record meanwhile (a refresh of the main window) is never saved by mistake.
class DlgGroup : public QDialog {
    Q_OBJECT

public:
    explicit DlgGroup(QWidget* parent = nullptr);

    // Loads the dialog on the shared record and shows it modally.
    static void ShowModal(QWidget* owner);

    void Form_Load();
    // d = 0 raises the value, anything else lowers it; every step is 5 minutes.
    void SpinStart_Click(int16_t d);
    void SpinEnd_Click(int16_t d);
    void SpinInterval_Click(int16_t d);
    // 0 Save, 1 Cancel, 2 Help.
    void BtnGroup_Click(int index);

    QLineEdit* TxtGroupName = nullptr;
    QLabel* LblStart = nullptr;
    QLabel* LblEnd = nullptr;
    QLabel* LblInterval = nullptr;
    plat::Nudgel* SpinStart = nullptr;
    plat::Nudgel* SpinEnd = nullptr;
    plat::Nudgel* SpinInterval = nullptr;
    std::array<QPushButton*, 3> BtnGroup{};

    static constexpr int16_t kStep = 5;     // minutes
    static constexpr int16_t kMinDay = 60;  // the spins never narrow a day below this

protected:
    // Escape and the close box cancel.
    void reject() override;

private:
    void publish();
    // True when the edited day hides no booking, or the user agrees that it does.
    bool dayKeepsBookings();
    void showTimes();

    ClsGroup m_edit;  // the record as the opener prepared it, with this dialog's edits
};
