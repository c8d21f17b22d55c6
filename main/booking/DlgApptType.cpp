#include "DlgApptType.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ClsDate.h"
#include "ClsForms.h"
#include "ClsLogging.h"
#include "ClsTask.h"
#include "ColourPickerHost.h"
#include "ContextIDs.h"
#include "DialogParts.h"
#include "ModMain.h"
#include "ModalHook.h"
#include "Nudgel.h"
#include "OleColor.h"
#include "OleControl.h"
#include "ReadAgain.h"
#include "SharedObjects.h"
#include "TintoraIds.h"

namespace {
ClsTask& task() { return SharedObjects::Task(); }
void log(const QString& line) { SharedObjects::Log().LogMsg(line); }
int directionOf(int16_t direction) { return direction == 0 ? 1 : -1; }
}  // namespace

DlgApptType::DlgApptType(QWidget* parent) : QDialog(parent) {
    setObjectName("DlgApptType");
    setWindowTitle("Appointment Type");
    setModal(true);
    auto* all = new QVBoxLayout(this);

    QGroupBox* description = DialogParts::TextFrame(this, "Description", "TxtType", TxtType);
    BtnColour = new QPushButton(description);
    BtnColour->setObjectName("BtnColour");
    BtnColour->setFixedSize(40, 24);
    BtnColour->setToolTip("Colour");
    description->layout()->addWidget(BtnColour);
    all->addWidget(description);
    connect(BtnColour, &QPushButton::clicked, this, [this] { BtnColour_Click(); });

    auto* times = new QHBoxLayout;
    times->addWidget(DialogParts::SpinFrame(this, "Minimum", "Min", SpinMin, LblMin));
    times->addWidget(DialogParts::SpinFrame(this, "Maximum", "Max", SpinMax, LblMax));
    times->addWidget(DialogParts::SpinFrame(this, "Initial", "Init", SpinInit, LblInit));
    all->addLayout(times);
    connect(SpinMin, &plat::Nudgel::Click, this, [this](int16_t d) { SpinMin_Click(d); });
    connect(SpinMax, &plat::Nudgel::Click, this, [this](int16_t d) { SpinMax_Click(d); });
    connect(SpinInit, &plat::Nudgel::Click, this, [this](int16_t d) { SpinInit_Click(d); });
    all->addLayout(
        DialogParts::ButtonRow(this, "BtnTask", BtnTask, [this](int i) { BtnTask_Click(i); }));
    createColourPick();
    resize(360, 200);
    StepRead = new ReadAgain(this, [this] { return readStep(); });
}

DlgApptType::~DlgApptType() = default;

// The picker is a registered component: created by its class id, as any host does.
void DlgApptType::createColourPick() {
    ColourPick = new ColourPickerHost(this, PosnRight, "DlgApptType", [](const QString& why) {
        return "Error in DlgApptType.Form_Load: " + why;
    });
    if (!ColourPick->Available()) return;
    ColourPick->Control()->move(width() - ColourPick->Control()->width(), 0);
    connect(ColourPick, &ColourPickerHost::ColorClick, this, [this](uint32_t colour, int item) {
        ColourPick_ColorClick(colour, static_cast<int16_t>(item));
    });
}

void DlgApptType::ShowModal(QWidget* owner) {
    DlgApptType form(owner);
    form.Form_Load();
    plat::ModalHook::Exec(form);
}

void DlgApptType::Form_Load() {
    SharedObjects::Forms().CentreForm(*this, parentWidget());
    StepRead->Read();
    TxtType->setText(task().TaskName());
    showTimes();
    showColour(static_cast<uint32_t>(task().Colour()));
}

// The spin step is the slot length of the type's own group, not of whichever group the
// shared record was last given. Until it is read the durations do not step.
bool DlgApptType::readStep() { return !task().setGroupId(task().GroupId()).Failed(); }

void DlgApptType::showTimes() {
    ClsDate& date = SharedObjects::Date();
    LblMax->setText(date.MilitaryTime(task().MaxTime()));
    LblMin->setText(date.MilitaryTime(task().MinTime()));
    LblInit->setText(date.MilitaryTime(task().InitTime()));
}

void DlgApptType::showColour(uint32_t colour) {
    BtnColour->setStyleSheet("background-color: " + plat::OleToQColor(colour).name());
    BtnColour->setProperty("Colour", colour);
}

void DlgApptType::BtnColour_Click() {
    if (!ColourPick->Available()) {
        log("Error in DlgApptType.BtnColour_Click");
        return;
    }
    ColourPick->Show(uint32_t(task().Colour()));
}

void DlgApptType::ColourPick_ColorClick(uint32_t clrColor, int16_t) {
    task().setColour(static_cast<int32_t>(clrColor));
    showColour(clrColor);
}

void DlgApptType::SpinInit_Click(int16_t direction) {
    if (!StepRead->Known("Unable to change the initial time!", "changed")) return;
    int init = task().InitTime() + directionOf(direction) * task().Interval();
    if (init < task().MinTime()) init = task().MinTime();
    if (init > task().MaxTime()) init = task().MaxTime();
    task().setInitTime(static_cast<int16_t>(init));
    showTimes();
}

void DlgApptType::SpinMax_Click(int16_t direction) {
    if (!StepRead->Known("Unable to change the maximum time!", "changed")) return;
    int max = task().MaxTime() + directionOf(direction) * task().Interval();
    if (max > kDayMinutes) max = kDayMinutes;
    if (max < task().MinTime()) max = task().MinTime();
    task().setMaxTime(static_cast<int16_t>(max));
    if (task().InitTime() > max) task().setInitTime(static_cast<int16_t>(max));
    showTimes();
}

void DlgApptType::SpinMin_Click(int16_t direction) {
    if (!StepRead->Known("Unable to change the minimum time!", "changed")) return;
    const int step = task().Interval();
    int min = task().MinTime() + directionOf(direction) * step;
    if (min < step) min = step;  // never shorter than one slot
    if (min > task().MaxTime()) min = task().MaxTime();
    task().setMinTime(static_cast<int16_t>(min));
    if (task().InitTime() < min) task().setInitTime(static_cast<int16_t>(min));
    showTimes();
}

void DlgApptType::BtnTask_Click(int index) {
    switch (index) {
        case 0: {
            // A new name that is another type's of the group to the database is refused:
            // it compares names without the case of A to Z. The type's own name may stay.
            const QString name = TxtType->text().trimmed();
            const bool own = task().TaskId() != 0 && name == task().TaskName();
            const std::optional<QString> taken = own ? QString() : task().SameNameInGroup({name});
            // A name that could not be compared is not saved.
            if (!taken) {
                ModMain::NotRead("Unable to save appointment type!", "saved");
                return;
            }
            if (!taken->isEmpty()) {
                ModMain::Warning("An appointment type named " + *taken +
                                 " already exists in this group. Names must differ in more "
                                 "than the case of the letters A to Z: the database ignores "
                                 "that case when it compares names, so it could not tell the "
                                 "two apart where one is found by name.");
                return;
            }
            task().setTaskName(name);
            // The dialog stays open after a failure, so the user can try again or cancel.
            if (task().Save() == 0) {
                ModMain::NotWritten("Unable to save appointment type!", "saved");
                return;
            }
            accept();
            break;
        }
        case 1:
            reject();
            break;
        case 2:
            ContextIDs::ShowHelp(ContextIDs::IDH_APPTTYPE);
            break;
        default:
            break;
    }
}

void DlgApptType::reject() {
    task().InitBfr();
    QDialog::reject();
}
