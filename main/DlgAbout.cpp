#include "DlgAbout.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

#include "ClsDAO.h"
#include "ClsForms.h"
#include "ContextIDs.h"
#include "DlgMain.h"
#include "ModMain.h"
#include "ModalHook.h"
#include "SharedObjects.h"
#include "WebPage.h"

namespace {
constexpr int kTw = DlgAbout::kTwipsPerPixel;
constexpr int kWidth = 5400 / kTw;
}  // namespace

DlgAbout::DlgAbout(QWidget* parent) : QDialog(parent) {
    setObjectName("DlgAbout");
    setWindowTitle("About Rostima!");
    setModal(true);

    Frame1 = new QGroupBox(this);
    Frame1->setObjectName("Frame1");
    Frame1->setGeometry(4, 0, kWidth - 8, 2400 / kTw);
    Image1 = new QLabel(Frame1);
    Image1->setObjectName("Image1");
    Image1->setPixmap(ProgramPicture());
    Image1->setGeometry(12, 20, 56, 56);
    auto* name = new QLabel("Rostima!", Frame1);
    QFont big = name->font();
    big.setBold(true);
    big.setPointSize(big.pointSize() + 4);
    name->setFont(big);
    name->setGeometry(84, 20, 240, 28);
    LblVersion = new QLabel(Frame1);
    LblVersion->setObjectName("LblVersion");
    LblVersion->setGeometry(84, 52, 240, 20);
    LblVersion->setToolTip("Version");  // cleared by the load step

    Frame2 = new QGroupBox("Users", Frame1);
    Frame2->setObjectName("Frame2");
    Frame2->setGeometry(84, 84, 120, 52);
    LblUsers = new QLabel(Frame2);
    LblUsers->setObjectName("LblUsers");
    LblUsers->setGeometry(12, 22, 96, 20);

    const char* captions[] = {"E&xit", "Check For &Upgrade", "&Help"};
    const int widths[] = {80, 160, 80};
    int x = 12;
    for (int index = 0; index < 3; ++index) {
        BtnAbout[index] = new QPushButton(captions[index], Frame1);
        BtnAbout[index]->setObjectName(QString("BtnAbout%1").arg(index));
        BtnAbout[index]->setGeometry(x, 160, widths[index], 28);
        x += widths[index] + 8;
        connect(BtnAbout[index], &QPushButton::clicked, this,
                [this, index] { BtnAbout_Click(index); });
    }
    BtnAbout[0]->setDefault(true);
    resize(kWidth, 2730 / kTw);
}

void DlgAbout::ShowModal(QWidget* owner) {
    DlgAbout box(owner);
    box.Form_Load();
    plat::ModalHook::Exec(box);
}

void DlgAbout::Form_Load() {
    Frame1->resize(Frame1->width(), 3135 / kTw);
    setFixedSize(width(), (3135 + 330) / kTw);
    const QWidget* main = parentWidget() ? parentWidget()->window() : nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (!main && w->objectName() == "DlgMain") main = w;
    SharedObjects::Forms().CentreForm(*this, main);
    LblVersion->setText("Version " + ModMain::VersionNumber());
    // A count that cannot be read shows 1 (UsersText): this workstation is one user
    // whatever else is known, and the log says why the count failed.
    LblUsers->setText(UsersText(SharedObjects::DAO().GetUserCount()));
    LblVersion->setToolTip(QString());
}

QString DlgAbout::UpgradeAddress(const QString& version) {
    return DlgMain::WebAddress() + "/CheckUpgrade.asp?Product=Rostima&Version=" + version;
}

QPixmap DlgAbout::ProgramPicture() {
    const QIcon icon = QApplication::windowIcon().isNull()
                           ? QApplication::style()->standardIcon(QStyle::SP_FileDialogDetailedView)
                           : QApplication::windowIcon();
    return icon.pixmap(48, 48);
}

QString DlgAbout::UsersText(int32_t count) { return QString::number(count < 1 ? 1 : count); }

void DlgAbout::BtnAbout_Click(int index) {
    switch (index) {
        case 0:
            accept();
            break;
        case 1:
            plat::OpenWebPage(UpgradeAddress(ModMain::VersionNumber()));
            break;
        case 2:
            ContextIDs::ShowHelp(ContextIDs::IDH_ABOUT);
            break;
        default:
            break;
    }
}
