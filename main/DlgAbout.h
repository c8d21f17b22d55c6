#pragma once
#include <QDialog>
#include <QPixmap>
#include <QString>
#include <array>
#include <cstdint>

class QGroupBox;
class QLabel;
class QPushButton;

// The about box: the version, the number of users connected to the shared database, the
// upgrade check on our web site and the help topic.
class DlgAbout : public QDialog {
    Q_OBJECT

public:
    explicit DlgAbout(QWidget* parent = nullptr);

    // The "&About" command: loads the box and shows it modally over owner (the main window).
    static void ShowModal(QWidget* owner);

    // Fills the box and centres it over its parent.
    void Form_Load();
    // 0 = Exit, 1 = Check For Upgrade, 2 = Help.
    void BtnAbout_Click(int index);

    // The address of the upgrade-check page for a version text.
    static QString UpgradeAddress(const QString& version);
    // The user count as shown: this program is connected itself, so never fewer than 1
    // (the database layer answers 0 or less when it could not count).
    static QString UsersText(int32_t count);

    // The program's picture, shown here and on the start-up form.
    static QPixmap ProgramPicture();

    QLabel* Image1 = nullptr;
    QLabel* LblVersion = nullptr;
    QGroupBox* Frame1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QLabel* LblUsers = nullptr;
    std::array<QPushButton*, 3> BtnAbout{};

    static constexpr int kTwipsPerPixel = 15;
};
