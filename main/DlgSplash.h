#pragma once
#include <QDialog>
#include <array>

class QCheckBox;
class QLabel;
class QPushButton;
class QShowEvent;

// The start-up form: the terms of use with their agreement box, the version and a link
// to our web site. Loading it carries out the first start of a new version: the version
// is recorded, three display options are switched on and bookings parked on day -1 are
// moved to today.
class DlgSplash : public QDialog {
    Q_OBJECT

public:
    explicit DlgSplash(QWidget* parent = nullptr);

    // The main window calls this once, on its first activation, before its refresh timer
    // starts. It shows the form modally, centred over owner, when this version starts for
    // the first time or the terms have not been agreed yet; otherwise it shows nothing.
    // Returns false when the user refused the terms: the program must then end. A close
    // box counts as refusing unless the terms were agreed at an earlier start.
    // *firstStart (when given) tells whether this was the first start of this version, in
    // which case bookings may have moved and the chart wants reloading.
    static bool ShowIfNeeded(QWidget* owner, bool* firstStart = nullptr);

    // True when this start is the first start of this version (or no version is recorded).
    static bool IsNewVersion();

    // The load step; the form runs it once, before it is shown.
    void Form_Load();
    // 0 = Accept, 2 = Help.
    void BtnSplash_Click(int index);

    bool TermsAccepted() const { return m_termsAccepted; }
    bool IsFirstStart() const { return m_isFirstStart; }
    // Whether the form was closed by Accept rather than its close box.
    bool AcceptPressed() const { return m_acceptPressed; }

    std::array<QLabel*, 2> Label1{};
    QCheckBox* ChkAgree = nullptr;
    std::array<QPushButton*, 3> BtnSplash{};  // index 1 is not used
    QLabel* LblVersion = nullptr;
    QLabel* Jumplet1 = nullptr;  // the link to our web site
    QLabel* Image1 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void Form_Activate();
    void firstStartOfVersion();

    bool m_termsAccepted = false;
    bool m_isFirstStart = false;
    bool m_acceptPressed = false;
    bool m_activated = false;
};
