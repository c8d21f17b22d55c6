// DlgMain: the set-up commands: configuration, the group and resource editors and the
// group-template chooser.
#include "ClsForms.h"
#include "ClsGroup.h"
#include "ClsIni.h"
#include "ClsResource.h"
#include "ComboBox.h"
#include "DlgConfig.h"
#include "DlgGroup.h"
#include "DlgMain.h"
#include "DlgResource.h"
#include "DlgTemplate.h"
#include "ModMain.h"
#include "Plexaro.h"
#include "SharedObjects.h"

void DlgMain::showConfig() {
    buttonsOn(false);
    DlgConfig::ShowModal(this, *Sched);
    ShowGroups(static_cast<int32_t>(SharedObjects::Ini().GetNumber("Group", "CbGroup", 0)));
    SetupDefaults();
    buttonsOn(true);
}

void DlgMain::addGroup() {
    buttonsOn(false);
    SharedObjects::Group().InitBfr();
    DlgGroup::ShowModal(this);
    afterGroupDialog();
    buttonsOn(true);
}

void DlgMain::editGroup(int32_t groupId) {
    if (const Loaded loaded = SharedObjects::Group().Load(groupId); loaded != Loaded::Row) {
        if (loaded.Failed())  // the editor would open on nothing it could read
            ModMain::NotRead("Unable to edit group!", "opened");
        else
            ModMain::Warning("Unable to edit group!");
        return;
    }
    buttonsOn(false);
    DlgGroup::ShowModal(this);
    afterGroupDialog();
    buttonsOn(true);
}

// A saved group is shown. Then the shared group record holds the group on the chart
// again, whatever the dialog left in it (a cancel resets it): the chart's other commands
// read their group from it.
void DlgMain::afterGroupDialog() {
    ClsGroup& group = SharedObjects::Group();
    if (group.GroupId() != 0) ShowGroups(group.GroupId());
    const Loaded loaded = group.Load(SharedObjects::Forms().GetComboData(*CbGroup));
    if (loaded.Failed()) {
        // Not read: the next tick loads the chart's group again, as the user is told.
        m_deferredReload = true;
        ModMain::NotRead();
    } else if (loaded == Loaded::NoRow) {
        group.InitBfr();
    }
}

void DlgMain::addResource(int32_t groupId) {
    if (CbGroup->count() <= 0 || groupId < 0) {
        ModMain::CriticalError("No group selected!");
        return;
    }
    buttonsOn(false);
    ClsResource& resource = SharedObjects::Resource();
    resource.InitBfr();
    if (resource.setGroupId(groupId).Failed()) {
        // The group's durations could not be read: the editor would offer another's.
        ModMain::NotRead("Unable to add a resource!", "opened");
        buttonsOn(true);
        return;
    }
    DlgResource::ShowModal(this);
    if (resource.ResourceId() != 0) ShowResources(resource.ResourceId());
    buttonsOn(true);
}

void DlgMain::editResource(int row) {
    if (row <= 0) {
        ModMain::Warning("No resource selected!");
        return;
    }
    ClsResource& resource = SharedObjects::Resource();
    if (const Loaded loaded = resource.Load(Sched->rowData(row)); loaded != Loaded::Row) {
        if (loaded.Failed()) ModMain::NotRead("Unable to edit the resource!", "opened");
        return;
    }
    buttonsOn(false);
    DlgResource::ShowModal(this);
    if (resource.ResourceId() != 0) ShowResources(resource.ResourceId());
    buttonsOn(true);
}

// A loaded template is a new group: it is shown at once.
void DlgMain::mnuResourceLoadTemplate_Click() {
    buttonsOn(false);
    if (DlgTemplate::ShowModal(this)) afterGroupDialog();
    buttonsOn(true);
}
