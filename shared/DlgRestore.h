#pragma once
#include <QDialog>
#include <array>
#include <cstdint>

class QCheckBox;
class QGroupBox;
class QPushButton;
namespace plat {
class ComboBox;
}

// The restore dialog: the user picks one of the backup files in the program folder's
// "Backup" folder (names that begin with a number above 0 and end in ".txt") and whether
// bookings are restored too. The choice outlives the dialog: the program reads it through
// BackupFile() and AddAppointments() after the dialog has closed, until it is opened
// again.
class DlgRestore : public QDialog {
    Q_OBJECT
public:
    explicit DlgRestore(QWidget* parent = nullptr);

    // Full path of the chosen file; "" when the user cancelled or chose nothing.
    static QString BackupFile();
    // Whether bookings are to be restored; false until the dialog is first used.
    static bool AddAppointments();

    // The number that leads a file name within its first eight characters; 0 when the
    // name does not begin with a digit.
    static int32_t LeadingNumber(const QString& fileName);

    // 0 = "&Restore" (take the choice), 1 = "&Cancel"; closes the dialog.
    void BtnRestore_Click(int Index);

    std::array<QGroupBox*, 2> Frame1{};
    plat::ComboBox* CbFile = nullptr;  // item data: the number that leads the file name
    QCheckBox* Check1 = nullptr;
    std::array<QPushButton*, 2> BtnRestore{};

private:
    void Form_Load();
};
