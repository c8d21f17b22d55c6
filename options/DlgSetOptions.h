#pragma once
#include <QPixmap>
#include <QWidget>
#include <memory>

#include "ClsIni.h"

class QCheckBox;
class QLabel;
class QPushButton;

// The workstation options window: one box that switches this workstation to read-only
// use of the shared database, kept as [Options] IsReadOnly ("1" or "0") in Rostima.ini of
// the program folder and, for the main program there, in RostimaShr.ini. Every click
// writes at once; when a file refuses the write (a full disk, a read-only file) the user
// is told which file and why, the files stay as they were and the box goes back, so it
// never shows what the files do not hold.
class DlgSetOptions : public QWidget {
    Q_OBJECT

public:
    explicit DlgSetOptions(QWidget* parent = nullptr);
    ~DlgSetOptions() override;

    // False, having told the user, when Rostima.ini is there but cannot be read: the
    // program then ends.
    bool Form_Load();
    void Check1_Click();
    void BtnMain_Click();

    // The logo of the window's picture, 150 x 80 pixels.
    static QPixmap Logo();

    QLabel* Image1 = nullptr;
    QCheckBox* Check1 = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* BtnMain = nullptr;
    std::unique_ptr<ClsIni> OptionsIni;  // exists from the load step to the unload step
    std::unique_ptr<ClsIni> MainIni;     // the main program's settings file, likewise

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Unload();
    // Tells that a file refused the switch, naming it and why; after a click the box goes
    // back.
    void refused(const ClsIni::Written& why);

    bool m_loading = false;  // the load step is setting the box from the file
};
