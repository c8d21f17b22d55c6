#include "DlgRestore.h"

#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

#include "ClsDAO.h"
#include "ClsForms.h"
#include "ComboBox.h"
#include "SharedObjects.h"

namespace {
// The dialog's choice, kept for the program after the dialog has closed.
struct Choice {
    QString backupFile;
    bool addAppointments = false;
};
Choice& choice() {
    static Choice c;
    return c;
}
}  // namespace

QString DlgRestore::BackupFile() { return choice().backupFile; }
bool DlgRestore::AddAppointments() { return choice().addAppointments; }

int32_t DlgRestore::LeadingNumber(const QString& fileName) {
    int32_t n = 0;  // eight digits at most: always fits
    for (qsizetype i = 0; i < std::min<qsizetype>(fileName.size(), 8); ++i) {
        if (fileName[i] < u'0' || fileName[i] > u'9') break;
        n = n * 10 + (fileName[i].unicode() - u'0');
    }
    return n;
}

DlgRestore::DlgRestore(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Restore Database");
    Frame1[0] = new QGroupBox("File To Restore From", this);
    CbFile = new plat::ComboBox(Frame1[0]);
    CbFile->setObjectName("CbFile");
    (new QVBoxLayout(Frame1[0]))->addWidget(CbFile);
    Frame1[1] = new QGroupBox("Options", this);
    Check1 = new QCheckBox("Add appointments?", Frame1[1]);
    Check1->setObjectName("Check1");
    (new QVBoxLayout(Frame1[1]))->addWidget(Check1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    const char* captions[] = {"&Restore", "&Cancel"};
    for (int i = 0; i < 2; ++i) {
        BtnRestore[i] = new QPushButton(captions[i], this);
        BtnRestore[i]->setObjectName(QString("BtnRestore%1").arg(i));
        buttons->addWidget(BtnRestore[i]);
        connect(BtnRestore[i], &QPushButton::clicked, this, [this, i] { BtnRestore_Click(i); });
    }
    BtnRestore[0]->setDefault(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Frame1[0]);
    layout->addWidget(Frame1[1]);
    layout->addLayout(buttons);
    Form_Load();
}

void DlgRestore::Form_Load() {
    choice() = Choice{};  // a new showing starts without a choice
    Check1->setCheckState(Qt::Checked);
    CbFile->Clear();
    // Ordered by their leading number, so the last entry is the newest of the usual
    // date-named files; the directory's own order means nothing here.
    struct Entry {
        int32_t number;
        QString name;
    };
    std::vector<Entry> entries;
    const QStringList names = QDir(ClsDAO::BackupFolder())
                                  .entryList({"*.txt"}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QString& name : names)
        if (const int32_t n = LeadingNumber(name); n > 0) entries.push_back({n, name});
    std::stable_sort(entries.begin(), entries.end(),
                     [](const Entry& a, const Entry& b) { return a.number < b.number; });
    for (const Entry& e : entries) SharedObjects::Forms().AddComboItem(*CbFile, e.name, e.number);
    if (CbFile->count() > 0) CbFile->SetListIndex(CbFile->count() - 1);
    // Sized only now that the list is filled: the list's width then fits the longest
    // name, so the chosen file's name shows whole.
    adjustSize();
    SharedObjects::Forms().CentreForm(*this, parentWidget());
}

void DlgRestore::BtnRestore_Click(int Index) {
    Choice& c = choice();
    c.backupFile.clear();
    if (Index == 0 && CbFile->ListIndex() >= 0) {
        c.backupFile = ClsDAO::BackupFolder() + "/" + CbFile->currentText();
        c.addAppointments = Check1->checkState() != Qt::Unchecked;
    }
    done(c.backupFile.isEmpty() ? QDialog::Rejected : QDialog::Accepted);
}
