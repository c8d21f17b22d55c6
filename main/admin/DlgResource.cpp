#include "DlgResource.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "ClsDate.h"
#include "ClsGroup.h"
#include "ClsResource.h"
#include "ContextIDs.h"
#include "DialogParts.h"
#include "ModMain.h"
#include "ModalHook.h"
#include "Nudgel.h"
#include "ReadAgain.h"
#include "SharedObjects.h"

namespace {
ClsResource& record() { return SharedObjects::Resource(); }
QString duration(int16_t minutes) { return SharedObjects::Date().MilitaryTime(minutes); }
// Copy i of a resource saved as several: "<name> #01" onwards.
QString copyName(const QString& name, int i) {
    return name + QString(" #%1").arg(i, 2, 10, QChar('0'));
}
}  // namespace

DlgResource::DlgResource(QWidget* parent) : QDialog(parent) {
    setObjectName("DlgResource");
    setWindowTitle("Resource Definition");
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        DialogParts::TextFrame(this, "Description", "TxtResourceName", TxtResourceName));
    auto* grid = new QGridLayout;
    grid->addWidget(DialogParts::SpinFrame(this, "Minimum", "Min", SpinMin, LblMin), 0, 0);
    grid->addWidget(DialogParts::SpinFrame(this, "Maximum", "Max", SpinMax, LblMax), 0, 1);
    grid->addWidget(DialogParts::SpinFrame(this, "Initial", "Init", SpinInit, LblInit), 1, 0);
    grid->addWidget(copiesFrame(), 1, 1);
    layout->addLayout(grid);
    layout->addLayout(
        DialogParts::ButtonRow(this, "BtnGroup", BtnGroup, [this](int i) { BtnGroup_Click(i); }));
    connect(SpinMin, &plat::Nudgel::Click, this, &DlgResource::SpinMin_Click);
    connect(SpinMax, &plat::Nudgel::Click, this, &DlgResource::SpinMax_Click);
    connect(SpinInit, &plat::Nudgel::Click, this, &DlgResource::SpinInit_Click);
    connect(SpinCopies, &plat::Nudgel::Click, this, &DlgResource::SpinCopies_Click);
    StepRead = new ReadAgain(this, [this] { return readStep(); });
}

// Built as the duration frames are, but the count is a field: a click or Tab puts the
// focus there, so digits typed go to it, never to the name.
QGroupBox* DlgResource::copiesFrame() {
    LblCopies = new QLineEdit;
    LblCopies->setObjectName("LblCopies");
    LblCopies->setValidator(new QIntValidator(1, kMaxCopies, LblCopies));
    DialogParts::SelectAllOnFocus(LblCopies);
    LblCopies->installEventFilter(this);
    connect(LblCopies, &QLineEdit::textEdited, this, &DlgResource::copiesTyped);
    return DialogParts::SpinFrameOf(this, "Copies", "Copies", SpinCopies, LblCopies);
}

void DlgResource::ShowModal(QWidget* owner) {
    DlgResource dialog(owner);
    dialog.Form_Load();
    plat::ModalHook::Exec(dialog);
}

void DlgResource::Form_Load() {
    adjustSize();
    DialogParts::CentreOverMain(*this);
    m_copies = 1;
    StepRead->Read();
    const bool existing = record().ResourceId() != 0;
    LblCopies->setText(existing ? QString() : "1");
    LblCopies->setEnabled(!existing);
    SpinCopies->setEnabled(!existing);
    TxtResourceName->setText(record().ResourceName());
    showDurations();
}

// The record's own slot length belongs to the group last written to it, which for a
// loaded resource may be another group: step by the resource's own group. Until it is
// read the durations do not step.
bool DlgResource::readStep() {
    ClsGroup group;
    const Loaded loaded = group.Load(record().GroupId());
    if (loaded.Failed()) return false;
    // A group deleted meanwhile has no slot length of its own: the default one steps.
    m_step = loaded == Loaded::Row ? group.Interval() : ClsGroup::kDefaultInterval;
    return true;
}

void DlgResource::showDurations() {
    LblMin->setText(duration(record().MinTime()));
    LblMax->setText(duration(record().MaxTime()));
    LblInit->setText(duration(record().InitTime()));
}

// Each bound works on the value the one before left; 1440 minutes is a whole day.
void DlgResource::SpinMin_Click(int16_t d) {
    if (!StepRead->Known("Unable to change the duration!", "changed")) return;
    ClsResource& r = record();
    int value = r.MinTime() + (d == 0 ? m_step : -m_step);
    value = std::min(std::max(value, static_cast<int>(m_step)), 1440);
    r.setMinTime(static_cast<int16_t>(value));
    if (r.MinTime() > r.MaxTime()) r.setMaxTime(r.MinTime());
    if (r.MinTime() > r.InitTime()) r.setInitTime(r.MinTime());
    showDurations();
}

void DlgResource::SpinMax_Click(int16_t d) {
    if (!StepRead->Known("Unable to change the duration!", "changed")) return;
    ClsResource& r = record();
    int value = r.MaxTime() + (d == 0 ? m_step : -m_step);
    value = std::min(std::max(value, static_cast<int>(m_step)), 1440);
    r.setMaxTime(static_cast<int16_t>(value));
    if (r.MaxTime() < r.MinTime()) r.setMinTime(r.MaxTime());
    if (r.MaxTime() < r.InitTime()) r.setInitTime(r.MaxTime());
    showDurations();
}

void DlgResource::SpinInit_Click(int16_t d) {
    if (!StepRead->Known("Unable to change the duration!", "changed")) return;
    ClsResource& r = record();
    int value = r.InitTime() + (d == 0 ? m_step : -m_step);
    if (value > r.MaxTime()) value = r.MaxTime();
    if (value < r.MinTime()) value = r.MinTime();
    r.setInitTime(static_cast<int16_t>(value));
    showDurations();
}

void DlgResource::SpinCopies_Click(int16_t d) {
    m_copies = static_cast<int16_t>(std::clamp(m_copies + (d == 0 ? 1 : -1), 1, int{kMaxCopies}));
    LblCopies->setText(QString::number(m_copies));
}

// The validator lets through only 1 to 99 or the way to them: a field left empty or
// holding 0 stands for 1, the plain save, until a count is typed.
void DlgResource::copiesTyped(const QString& text) {
    const int typed = text.toInt();
    m_copies = static_cast<int16_t>(typed >= 1 && typed <= kMaxCopies ? typed : 1);
}

bool DlgResource::eventFilter(QObject* watched, QEvent* event) {
    if (watched == LblCopies && event->type() == QEvent::FocusOut && LblCopies->isEnabled())
        LblCopies->setText(QString::number(m_copies));
    return QDialog::eventFilter(watched, event);
}

// True when every row was written. Copies are "<name> #01" onwards, each a new row with
// the same group and durations; a copy the database does not take stops the rest
// (m_firstUnsaved names it).
bool DlgResource::save() {
    ClsResource& r = record();
    const QString name = TxtResourceName->text().trimmed();
    if (m_copies == 1) {
        r.setResourceName(name);
        return r.Save() != 0;
    }
    int saved = 0;
    int32_t lastSaved = 0;
    m_firstUnsaved.clear();
    for (int i = 1; i <= m_copies; ++i) {
        r.setResourceName(copyName(name, i));
        r.setResourceId(0);
        if (r.Save() == 0) {
            m_firstUnsaved = r.ResourceName();
            break;
        }
        ++saved;
        lastSaved = r.ResourceId();
    }
    // The record ends on the last row written, so the opener shows it.
    r.setResourceId(lastSaved);
    return saved == m_copies;
}

// True (the user told why) when a name Save would write is another resource's of the
// group to the database, which compares names without the case of A to Z. The resource's
// own name, unchanged, is no new name; copies are always new resources.
bool DlgResource::nameRefused() {
    ClsResource& r = record();
    const QString name = TxtResourceName->text().trimmed();
    if (m_copies == 1 && r.ResourceId() != 0 && name == r.ResourceName()) return false;
    QStringList names;
    for (int i = 1; i <= m_copies; ++i) names << (m_copies == 1 ? name : copyName(name, i));
    const std::optional<QString> taken = r.SameNameInGroup(names);
    if (!taken) {
        // Names that could not be compared are not saved.
        ModMain::NotRead("Unable to save the resource!", "saved");
        return true;
    }
    if (taken->isEmpty()) return false;
    ModMain::Warning("A resource named " + *taken +
                     " already exists in this group. Names must differ in more than the case "
                     "of the letters A to Z: the database ignores that case when it compares "
                     "names, so it could not tell the two apart where one is found by name.");
    return true;
}

void DlgResource::BtnGroup_Click(int index) {
    switch (index) {
        case 0: {
            if (nameRefused()) break;
            const bool copies = m_copies != 1;
            if (save()) {
                accept();
            } else if (copies && record().ResourceId() != 0) {
                // Some copies are written: saving again would make them twice.
                ModMain::NotWritten("Unable to save every copy of the resource!",
                                    "saved from " + m_firstUnsaved + " on");
                accept();
            } else {
                ModMain::NotWritten("Unable to save the resource!", "saved");
            }
            break;
        }
        case 1:
            record().InitBfr();
            QDialog::reject();
            break;
        case 2:
            ContextIDs::ShowHelp(ContextIDs::IDH_RESOURCE);
            break;
        default:
            break;
    }
}

void DlgResource::reject() { BtnGroup_Click(1); }
