#pragma once
#include <QDialog>
#include <array>

class QGroupBox;
class QPushButton;
namespace plat {
class ComboBox;
}

// The group-template chooser: lists the templates of the program folder's "Groups.ini"
// in file order, and "&Load" makes the chosen one into a new group with its resources,
// which the program's shared group record then holds.
class DlgTemplate : public QDialog {
    Q_OBJECT

public:
    explicit DlgTemplate(QWidget* parent = nullptr);

    // Loads and shows the chooser modally; true when a template was loaded.
    static bool ShowModal(QWidget* owner);

    void Form_Load();
    // 0 Load, 1 Cancel, 2 Help.
    void BtnTemplate_Click(int index);

    QGroupBox* Frame1 = nullptr;
    plat::ComboBox* CbGroup = nullptr;  // one entry per template, item data 0
    std::array<QPushButton*, 3> BtnTemplate{};

    static constexpr int kTwipsPerPixel = 15;
};
