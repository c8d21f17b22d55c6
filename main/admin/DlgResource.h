#pragma once
#include <QDialog>
#include <array>
#include <cstdint>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class ReadAgain;
namespace plat {
class Nudgel;
}

// The resource editor: the name and the shortest, longest and initial booking length of
// the program's shared resource record, which the opener prepares (reset on a group for a
// new resource, loaded for an edit). A new resource can be saved as up to 99 numbered
// copies. Save leaves the id of the last row written in the record; Cancel resets it, so
// its id is 0.
class DlgResource : public QDialog {
    Q_OBJECT

public:
    explicit DlgResource(QWidget* parent = nullptr);

    // Loads the dialog on the shared record and shows it modally.
    static void ShowModal(QWidget* owner);

    void Form_Load();
    // d = 0 raises the value, anything else lowers it. The durations step by the slot
    // length of the resource's own group, the copies by 1.
    void SpinMin_Click(int16_t d);
    void SpinMax_Click(int16_t d);
    void SpinInit_Click(int16_t d);
    void SpinCopies_Click(int16_t d);
    // 0 Save, 1 Cancel, 2 Help.
    void BtnGroup_Click(int index);

    int16_t Copies() const { return m_copies; }
    int16_t Step() const { return m_step; }
    // The spin step until it is read: the durations do not step meanwhile.
    ReadAgain* StepRead = nullptr;

    QLineEdit* TxtResourceName = nullptr;
    QLabel* LblMin = nullptr;
    QLabel* LblMax = nullptr;
    QLabel* LblInit = nullptr;
    // The number of copies, a field of its own: it takes the focus and a typed count
    // (1 to 99) as well as the spin's steps. Disabled and empty for an existing resource.
    QLineEdit* LblCopies = nullptr;
    plat::Nudgel* SpinMin = nullptr;
    plat::Nudgel* SpinMax = nullptr;
    plat::Nudgel* SpinInit = nullptr;
    plat::Nudgel* SpinCopies = nullptr;
    std::array<QPushButton*, 3> BtnGroup{};

    static constexpr int16_t kMaxCopies = 99;

protected:
    // Escape and the close box cancel.
    void reject() override;
    // Leaving the copies field shows the count it stands for.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QGroupBox* copiesFrame();
    void copiesTyped(const QString& text);
    void showDurations();
    bool nameRefused();
    bool save();
    // Reads the slot length of the resource's group; false when it could not be read.
    bool readStep();

    int16_t m_copies = 1;  // rows Save makes; 1 saves the record itself
    int16_t m_step = 5;    // minutes: the slot length of the resource's group
    QString m_firstUnsaved;  // the copy the database refused, with those after it
};
