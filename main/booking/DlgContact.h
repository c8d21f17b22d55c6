#pragma once
#include <QDialog>
#include <array>
#include <cstdint>
#include <optional>

class QLineEdit;
class QPushButton;
class ReadAgain;
namespace plat {
class ListBox;
}

// The customer ("contact") editor: name, three references and the groups the customer
// is offered to. It edits the program's shared customer record, which the caller has
// reset (a new customer) or loaded (an existing one); afterwards the record's CustomerId
// is not 0 when the customer was saved.
class DlgContact : public QDialog {
    Q_OBJECT

public:

    explicit DlgContact(QWidget* parent = nullptr);

    // Loads the window and shows it modally over owner. groupId: the calling editor's
    // group, ticked for a new customer; without one the group handed last stays.
    static void ShowModal(QWidget* owner, std::optional<int32_t> groupId = std::nullopt);

    void Form_Load();
    // True when at least one group is ticked.
    bool CheckGroups();
    // 0 Save, 1 Cancel, 2 Help.
    void BtnCustomer_Click(int index);

    int32_t GroupId = 0;  // the group ticked for a new customer
    QLineEdit* TxtCustomer = nullptr;
    std::array<QLineEdit*, 3> TxtRef{};  // TxtRef01..TxtRef03
    plat::ListBox* LbGroups = nullptr;   // item data GroupId; a tick box on every entry
    std::array<QPushButton*, 3> BtnCustomer{};
    // The group list until it is read: Save waits for it.
    ReadAgain* Groups = nullptr;

public slots:
    // Escape and the close box cancel: the shared record is emptied.
    void reject() override;

private:
    // Saves the shared record and rewrites its group links, all in one transaction; false
    // when nothing was written.
    bool saveContact();
    bool saveGroupLinks(int32_t customerId);
    // Lists every group, the customer's ticked (a new one's: the editor's group); false,
    // with the list as it was, when they could not be read.
    bool loadGroups();
};
