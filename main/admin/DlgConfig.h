#pragma once
#include <QDialog>
#include <QString>
#include <array>
#include <cstdint>

class ClsDAO;
class ColourPickerHost;
class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;
class ReadAgain;
namespace plat {
class ComboBox;
class Folvo;
class KeyedToolbar;
class Nudgel;
class Plexaro;
}  // namespace plat

// The workstation's configuration: the database file, the purge period, the paper size,
// the default customer and appointment type of new bookings, seven option switches and
// six colours of the schedule chart. Save writes them to the program's settings file;
// three things take effect at once: a database file chosen with Find (opened and checked
// first, the one in use kept when it cannot be opened), the aggressive-debugging switch
// and each step of the purge period.
class DlgConfig : public QDialog {
    Q_OBJECT

public:
    // chart: the main window's chart, whose current colours stand for colours not set.
    DlgConfig(QWidget* parent, const plat::Plexaro& chart);

    // Loads the dialog and shows it modally over owner.
    static void ShowModal(QWidget* owner, const plat::Plexaro& chart);

    // Closes the database in use and opens the file at path instead, after opening and
    // checking it apart first; false, with the one in use still open, when it cannot be
    // opened. Every open of the database in use is carried over to the new file.
    static bool SwitchDatabase(ClsDAO& dao, const QString& path);

    void Form_Load();
    void BtnFind_Click();
    void FilDlg_OK();
    void BtnColour_Click(int index);
    void ColourPick_ColorClick(uint32_t colour, int item);
    // d = 0 adds a day to the period (an earlier date), anything else takes one off.
    void SpinPurge_Click(int16_t d);
    void BtnPurge_Click();
    void CbPageSize_Click();
    void CbCustomer_Click();
    void CbTask_Click();
    void ChkOption_Click(int index);
    // "Exit", "Save" or "Help"; any other tag does nothing.
    void Toolbar1_ButtonClick(const QString& key);
    void EnableMe(bool enabled);

    // The dialog's state.
    bool Changed = false;      // a setting was edited since the load or the last Save
    int16_t LastColour = 0;    // the colour button last clicked, 0..5
    int16_t PageSizeCode = 1;  // code of the selected paper size; what Save writes
    // The customer and type lists, each read again shortly when it could not be read.
    ReadAgain* Customers = nullptr;
    ReadAgain* Tasks = nullptr;

    plat::KeyedToolbar* Toolbar1 = nullptr;
    QMenuBar* MenuBar = nullptr;
    QMenu* mnuFile = nullptr;
    QAction* mnuFileSave = nullptr;
    QAction* mnuFileExit = nullptr;
    QAction* mnuHelp = nullptr;
    QLineEdit* TxtDatabase = nullptr;
    QPushButton* BtnFind = nullptr;
    QLabel* LblPurge = nullptr;
    plat::Nudgel* SpinPurge = nullptr;
    QPushButton* BtnPurge = nullptr;
    plat::ComboBox* CbPageSize = nullptr;
    plat::ComboBox* CbTask = nullptr;
    plat::ComboBox* CbCustomer = nullptr;
    std::array<QCheckBox*, 7> ChkOption{};    // the settings key of each is its "Tag"
    std::array<QPushButton*, 6> BtnColour{};  // likewise; the colour is its "Colour"
    std::array<QLabel*, 7> Label1{};
    ColourPickerHost* ColourPick = nullptr;
    plat::Folvo* FilDlg = nullptr;

    static constexpr int kTwipsPerPixel = 15;
    static QString DefaultDatabase();
    // The first day a purge keeps, for a period of days before today: never a day after
    // today, and at most 100000 days back.
    static int32_t PurgeCutOff(int64_t period);
    // The purge label's text: that day, the one Purge Now asks about.
    static QString PurgeDate(int64_t period);
    static uint32_t ButtonColour(const QPushButton& button);
    static void SetButtonColour(QPushButton& button, uint32_t colour);

private:
    void buildControls();
    void buildMenus();
    // A list that cannot be read stays as it is (empty, before its first read) and is read
    // again shortly; until then Save keeps its stored default, which the user could not
    // have changed. False when it could not be read.
    bool readCustomers();
    bool readTasks();
    void save();
    void exit();

    const plat::Plexaro& m_chart;
};
