#include "DlgContact.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ClsCustomer.h"
#include "ClsDAO.h"
#include "ClsForms.h"
#include "ContextIDs.h"
#include "DialogParts.h"
#include "ListBox.h"
#include "ModMain.h"
#include "ModalHook.h"
#include "MsgBox.h"
#include "ReadAgain.h"
#include "SharedObjects.h"

namespace {
ClsCustomer& customer() { return SharedObjects::Customer(); }
}  // namespace

DlgContact::DlgContact(QWidget* parent) : QDialog(parent) {
    setObjectName("DlgContact");
    setWindowTitle("Contact Definition");
    setModal(true);
    auto* all = new QVBoxLayout(this);

    all->addWidget(DialogParts::TextFrame(this, "Contact Name", "TxtCustomer", TxtCustomer));

    auto* refFrame = new QGroupBox("References", this);
    auto* refs = new QGridLayout(refFrame);
    for (int i = 0; i < 3; ++i) {
        TxtRef[i] = new QLineEdit(refFrame);
        TxtRef[i]->setObjectName(QString("TxtRef0%1").arg(i + 1));
        DialogParts::SelectAllOnFocus(TxtRef[i]);
        refs->addWidget(new QLabel(QString("Reference #%1").arg(i + 1), refFrame), i, 0);
        refs->addWidget(TxtRef[i], i, 1);
    }
    all->addWidget(refFrame);

    auto* groupFrame = new QGroupBox("Available To Groups", this);
    LbGroups = new plat::ListBox(groupFrame);
    LbGroups->setObjectName("LbGroups");
    LbGroups->SetCheckList(true);
    (new QVBoxLayout(groupFrame))->addWidget(LbGroups);
    all->addWidget(groupFrame);

    all->addLayout(DialogParts::ButtonRow(this, "BtnCustomer", BtnCustomer,
                                          [this](int i) { BtnCustomer_Click(i); }));
    resize(360, 420);
    Groups = new ReadAgain(this, [this] { return loadGroups(); });
}

void DlgContact::ShowModal(QWidget* owner, std::optional<int32_t> groupId) {
    // The group is the form's for the whole run, as the callers expect.
    static int32_t handed = 0;
    if (groupId) handed = *groupId;
    DlgContact form(owner);
    form.GroupId = handed;
    form.Form_Load();
    plat::ModalHook::Exec(form);
}

void DlgContact::Form_Load() {
    SharedObjects::Forms().CentreForm(*this, parentWidget());
    TxtCustomer->setText(customer().CustomerName());
    TxtRef[0]->setText(customer().Ref01());
    TxtRef[1]->setText(customer().Ref02());
    TxtRef[2]->setText(customer().Ref03());
    Groups->Read();
}

bool DlgContact::loadGroups() {
    if (!SharedObjects::Forms().FillList(
            *LbGroups,
            QString("select (select count(*) from tblCustomerGroups where CustomerId = %1 "
                    "and GroupId =  tblGroups.GroupId), GroupName, GroupId from tblGroups "
                    "order by GroupName")
                .arg(customer().CustomerId())))
        return false;
    // A new customer starts in the editor's group.
    for (int i = 0; customer().CustomerId() == 0 && i < LbGroups->count(); ++i)
        if (LbGroups->ItemData(i) == GroupId) LbGroups->SetSelected(i, true);
    return true;
}

bool DlgContact::CheckGroups() {
    for (int i = 0; i < LbGroups->count(); ++i)
        if (LbGroups->Selected(i)) return true;
    return false;
}

bool DlgContact::saveGroupLinks(int32_t customerId) {
    QStringList statements;
    for (int i = 0; i < LbGroups->count(); ++i) {
        const QString where =
            QString("CustomerId = %1 and GroupId = %2").arg(customerId).arg(LbGroups->ItemData(i));
        statements << "delete from tblCustomerGroups where " + where;
        if (LbGroups->Selected(i))
            statements << QString(
                              "insert into tblCustomerGroups (CustomerId, GroupId) "
                              "values (%1, %2)")
                              .arg(customerId)
                              .arg(LbGroups->ItemData(i));
    }
    return SharedObjects::DAO().SqlActions(statements);
}

bool DlgContact::saveContact() {
    const ClsCustomer typed = customer();
    {
        // The customer and its links are written together or not at all.
        DbTransaction tx(SharedObjects::DAO());
        const int32_t id = tx.ok() ? customer().Save() : 0;
        if (id != 0 && saveGroupLinks(id) && tx.Commit()) return true;
    }
    // Undone: a new customer's insert too, so the record is as typed again (id 0: new).
    customer() = typed;
    return false;
}

void DlgContact::BtnCustomer_Click(int index) {
    switch (index) {
        case 0: {
            // Groups never read are not "none selected": they are read now, or nothing is
            // saved.
            if (!Groups->Known("Unable to save contact!", "saved")) return;
            if (!CheckGroups()) {
                plat::MsgBox("No groups are selected!", plat::vbOKOnly | plat::vbExclamation,
                             "Error!");
                return;
            }
            customer().setCustomerName(TxtCustomer->text().trimmed());
            customer().setRef01(TxtRef[0]->text().trimmed());
            customer().setRef02(TxtRef[1]->text().trimmed());
            customer().setRef03(TxtRef[2]->text().trimmed());
            // The dialog stays open after a failure, so the user can try again or cancel.
            if (!saveContact()) {
                ModMain::NotWritten("Unable to save contact!", "saved");
                return;
            }
            accept();
            break;
        }
        case 1:
            reject();
            break;
        case 2:
            ContextIDs::ShowHelp(ContextIDs::IDH_CONTACT);
            break;
        default:
            break;
    }
}

void DlgContact::reject() {
    customer().InitBfr();
    QDialog::reject();
}
