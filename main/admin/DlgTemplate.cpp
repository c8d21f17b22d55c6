#include "DlgTemplate.h"

#include <QFileInfo>
#include <QGroupBox>
#include <QPushButton>

#include "ClsDAO.h"
#include "ClsForms.h"
#include "ClsGroup.h"
#include "ClsIni.h"
#include "ComboBox.h"
#include "ContextIDs.h"
#include "DialogParts.h"
#include "ModMain.h"
#include "ModalHook.h"
#include "SharedObjects.h"

namespace {
constexpr int kTw = DlgTemplate::kTwipsPerPixel;
constexpr const char* kNotLoaded = "Unable to load the group template!";
QRect twips(int left, int top, int width, int height) {
    return QRect(left / kTw, top / kTw, width / kTw, height / kTw);
}
}  // namespace

DlgTemplate::DlgTemplate(QWidget* parent) : QDialog(parent) {
    setObjectName("DlgTemplate");
    setWindowTitle("Load Group Template");
    setModal(true);
    Frame1 = new QGroupBox("Select Group Template To Load", this);
    Frame1->setObjectName("Frame1");
    Frame1->setGeometry(twips(120, 120, 3495, 615));
    CbGroup = new plat::ComboBox(Frame1);
    CbGroup->setObjectName("CbGroup");
    CbGroup->setGeometry(twips(120, 240, 3255, 315));
    const char* captions[] = {"&Load", "&Cancel", "&Help"};
    for (int i = 0; i < 3; ++i) {
        BtnTemplate[i] = new QPushButton(captions[i], this);
        BtnTemplate[i]->setObjectName(QString("BtnTemplate%1").arg(i));
        BtnTemplate[i]->setGeometry(twips(120 + i * 1200, 840, 1095, 375));
        BtnTemplate[i]->setAutoDefault(false);
        connect(BtnTemplate[i], &QPushButton::clicked, this, [this, i] { BtnTemplate_Click(i); });
    }
    BtnTemplate[0]->setDefault(true);
    setFixedSize(3735 / kTw, 1320 / kTw);
}

bool DlgTemplate::ShowModal(QWidget* owner) {
    DlgTemplate dialog(owner);
    dialog.Form_Load();
    return plat::ModalHook::Exec(dialog) == QDialog::Accepted;
}

void DlgTemplate::Form_Load() {
    DialogParts::CentreOverMain(*this);
    CbGroup->Clear();
    // A new installation has no template file yet: that is no error worth a log line.
    if (QFileInfo::exists(ClsGroup::TemplateFile())) {
        ClsIni templates;
        templates.setIniFile(ClsGroup::TemplateFile());
        const std::optional<QStringList> names = templates.GetSectionNames();
        // An empty list would say there are none: the user is told the file's state.
        if (!names)
            ModMain::Warning("Unable to list the group templates!\r\n\r\nThe template file " +
                             ClsGroup::TemplateFile() + " cannot be read.");
        for (const QString& name : names.value_or(QStringList()))
            SharedObjects::Forms().AddComboItem(*CbGroup, name, 0);
    }
    if (CbGroup->count() > 0) CbGroup->SetListIndex(0);
    // Nothing to load without a template.
    BtnTemplate[0]->setEnabled(CbGroup->count() > 0);
}

void DlgTemplate::BtnTemplate_Click(int index) {
    switch (index) {
        case 0: {
            // With nothing chosen there is no template: a nameless group of defaults must
            // not be made.
            if (CbGroup->ListIndex() < 0) return;
            // Unless it was made, nothing was: the dialog stays open to try again or cancel.
            const auto load = SharedObjects::Group().LoadTemplate(CbGroup->currentText());
            switch (load.outcome) {
                case ClsGroup::TemplateLoad::Made:
                    accept();
                    break;
                case ClsGroup::TemplateLoad::Refused:
                    ModMain::Warning(QString(kNotLoaded) + "\r\n\r\n" + load.why +
                                     "\r\n\r\nNo group was made.");
                    break;
                case ClsGroup::TemplateLoad::NotWritten:
                    ModMain::NotWritten(kNotLoaded, "saved");
                    break;
            }
            break;
        }
        case 1:
            reject();
            break;
        case 2:
            ContextIDs::ShowHelp(ContextIDs::IDH_MAIN);
            break;
        default:
            break;
    }
}
