#pragma once
#include <QDialog>
#include <array>
#include <cstdint>

class ColourPickerHost;
class QLabel;
class QLineEdit;
class QPushButton;
class ReadAgain;
namespace plat {
class Nudgel;
}  // namespace plat

// The appointment-type editor: name, colour and the minimum, maximum and initial
// duration of the program's shared type record, which the caller has reset and given a
// group (a new type) or loaded (an existing one). Colour and durations go to the record
// as the user changes them; Save writes the record, Cancel empties it. Afterwards the
// record's TaskId is not 0 when the type was saved.
class DlgApptType : public QDialog {
    Q_OBJECT

public:
    // Durations stay within the group's slot length and the whole day (minutes).
    static constexpr int16_t kDayMinutes = 1440;

    explicit DlgApptType(QWidget* parent = nullptr);
    ~DlgApptType() override;

    // Loads the window and shows it modally over owner.
    static void ShowModal(QWidget* owner);

    void Form_Load();
    void BtnColour_Click();
    void ColourPick_ColorClick(uint32_t clrColor, int16_t nItem);
    // direction 0 = up.
    void SpinInit_Click(int16_t direction);
    void SpinMax_Click(int16_t direction);
    void SpinMin_Click(int16_t direction);
    // 0 Save, 1 Cancel, 2 Help.
    void BtnTask_Click(int index);

    QLineEdit* TxtType = nullptr;
    QPushButton* BtnColour = nullptr;
    ColourPickerHost* ColourPick = nullptr;  // not Available when the picker is not registered
    QLabel* LblMin = nullptr;
    QLabel* LblMax = nullptr;
    QLabel* LblInit = nullptr;
    plat::Nudgel* SpinMin = nullptr;
    plat::Nudgel* SpinMax = nullptr;
    plat::Nudgel* SpinInit = nullptr;
    std::array<QPushButton*, 3> BtnTask{};
    // The spin step until it is read: the durations do not step meanwhile.
    ReadAgain* StepRead = nullptr;

public slots:
    // Escape and the close box cancel: the shared record is emptied.
    void reject() override;

private:
    void createColourPick();
    void showColour(uint32_t colour);
    void showTimes();
    // Reads the slot length of the type's group; false when it could not be read.
    bool readStep();
};
