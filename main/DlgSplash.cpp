#include "DlgSplash.h"

#include <QCheckBox>
#include <QDate>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ClsDAO.h"
#include "ClsDate.h"
#include "ClsForms.h"
#include "ClsIni.h"
#include "ClsLogging.h"
#include "ContextIDs.h"
#include "DlgAbout.h"
#include "DlgMain.h"
#include "ModMain.h"
#include "ModalHook.h"
#include "SharedObjects.h"
#include "WebPage.h"

namespace {
ClsIni& ini() { return SharedObjects::Ini(); }
void log(const QString& line) { SharedObjects::Log().LogMsg(line); }

// A settings value read as a whole number; false when it is not one.
bool readNumber(const QString& section, const QString& key, const QString& defaultValue,
                qlonglong& value) {
    bool isNumber = false;
    value = ini().GetValue(section, key, defaultValue).trimmed().toLongLong(&isNumber);
    return isNumber;
}

bool termsAgreedOnRecord() {
    qlonglong agreed = 0;
    return readNumber("Startup", "HasAgreedTerms", "0", agreed) && agreed == 1;
}
}  // namespace

DlgSplash::DlgSplash(QWidget* parent) : QDialog(parent) {
    setObjectName("DlgSplash");
    setWindowTitle("Rostima!");
    setModal(true);
    buildControls();
}

void DlgSplash::buildControls() {
    Image1 = new QLabel(this);
    Image1->setObjectName("Image1");
    Image1->setPixmap(DlgAbout::ProgramPicture());

    Label1[0] = new QLabel("USE THIS SOFTWARE AT YOUR OWN RISK!", this);
    QFont bold = Label1[0]->font();
    bold.setBold(true);
    Label1[0]->setFont(bold);
    Label1[1] = new QLabel(
        "This software is supplied AS-IS. No warranty is provided. The user is required to "
        "accept responsibility for all consequences relating to the installation and/or use "
        "of this software.",
        this);
    Label1[1]->setWordWrap(true);
    ChkAgree = new QCheckBox("I accept the above terms and conditions", this);
    ChkAgree->setObjectName("ChkAgree");
    LblVersion = new QLabel(this);
    LblVersion->setObjectName("LblVersion");
    Jumplet1 = new QLabel(this);
    Jumplet1->setObjectName("Jumplet1");
    Jumplet1->setTextFormat(Qt::RichText);
    Jumplet1->setText("<a href=\"" + DlgMain::WebAddress().toHtmlEscaped() +
                      "\">Visit the Tolvern web site!</a>");
    Jumplet1->setOpenExternalLinks(false);  // our own hook opens it, so tests can see it
    connect(Jumplet1, &QLabel::linkActivated, this,
            [](const QString& url) { plat::OpenWebPage(url); });

    BtnSplash[0] = new QPushButton("&Accept", this);
    BtnSplash[2] = new QPushButton("&Help", this);
    BtnSplash[0]->setDefault(true);
    for (int index : {0, 2}) {
        BtnSplash[index]->setObjectName(QString("BtnSplash%1").arg(index));
        connect(BtnSplash[index], &QPushButton::clicked, this,
                [this, index] { BtnSplash_Click(index); });
    }

    auto* top = new QHBoxLayout;
    top->addWidget(Image1, 0, Qt::AlignTop);
    auto* terms = new QVBoxLayout;
    terms->addWidget(Label1[0]);
    terms->addWidget(Label1[1]);
    terms->addWidget(ChkAgree);
    top->addLayout(terms, 1);
    auto* bottom = new QHBoxLayout;
    auto* info = new QVBoxLayout;
    info->addWidget(LblVersion);
    info->addWidget(Jumplet1);
    bottom->addLayout(info, 1);
    bottom->addWidget(BtnSplash[0]);
    bottom->addWidget(BtnSplash[2]);
    auto* all = new QVBoxLayout(this);
    all->addLayout(top);
    all->addStretch();
    all->addLayout(bottom);
    resize(480, 240);
}

bool DlgSplash::ShowIfNeeded(QWidget* owner, bool* firstStart) {
    if (firstStart) *firstStart = false;
    if (!IsNewVersion() && termsAgreedOnRecord()) return true;
    DlgSplash form(owner);
    form.Form_Load();
    SharedObjects::Forms().CentreForm(form, owner);
    plat::ModalHook::Exec(form);
    if (firstStart) *firstStart = form.IsFirstStart();
    return form.AcceptPressed() ? form.TermsAccepted() : termsAgreedOnRecord();
}

bool DlgSplash::IsNewVersion() {
    qlonglong firstStart = 0;
    const bool neverStarted =
        readNumber("Config", "FirstStart", "0", firstStart) && firstStart == 0;
    // Compared exactly: any other text is another version.
    return neverStarted || ini().GetValue("Config", "VersionNo", "") != ModMain::VersionNumber();
}

void DlgSplash::Form_Load() {
    m_isFirstStart = IsNewVersion();
    if (m_isFirstStart) firstStartOfVersion();
    qlonglong agreed = 0;
    const bool isNumber = readNumber("Startup", "HasAgreedTerms", "0", agreed);
    ChkAgree->setChecked(isNumber && agreed == 1);
    if (!isNumber) log("Error in DlgSplash.Form_Load");
}

void DlgSplash::firstStartOfVersion() {
    // The version is recorded only once the bookings have moved: a start whose update
    // failed runs the whole step again next time instead of leaving them on day -1.
    const int32_t today = SharedObjects::Date().DateToLong(QDate::currentDate());
    if (!SharedObjects::DAO().SqlAction(
            QString("update tblBookings set BookingDate = %1 where BookingDate = -1").arg(today))) {
        log("DlgSplash.Form_Load: the bookings of day -1 were not moved; the first start of "
            "this version runs again at the next start");
        return;
    }
    ini().WriteValue("Config", "FirstStart", 1);
    ini().WriteValue("Config", "VersionNo", ModMain::VersionNumber());
    // Customer names on the bars, the booking pop-up and the return to the present time.
    ini().WriteValue("Options", "DispCustomer", 1);
    ini().WriteValue("Options", "PopupReminders", 1);
    ini().WriteValue("Options", "Autoscroll", 1);
}

void DlgSplash::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    Form_Activate();
}

void DlgSplash::Form_Activate() {
    if (m_activated) return;
    m_activated = true;
    LblVersion->setText("Version " + ModMain::VersionNumber());
}

void DlgSplash::BtnSplash_Click(int index) {
    if (index == 2) {
        ContextIDs::ShowHelp(ContextIDs::IDH_ABOUT);
        return;
    }
    if (index != 0) return;
    if (ChkAgree->isChecked()) {
        ini().WriteValue("Startup", "HasAgreedTerms", 1);
        m_termsAccepted = true;
    } else {
        m_termsAccepted = ModMain::Confirm(
            "Do you agree to the terms and conditions which have been explained on this form?");
        // Refusing withdraws an agreement given at an earlier start, so the form asks
        // again next time instead of letting the program run.
        if (!m_termsAccepted && termsAgreedOnRecord())
            ini().WriteValue("Startup", "HasAgreedTerms", 0);
    }
    m_acceptPressed = true;
    accept();
}
