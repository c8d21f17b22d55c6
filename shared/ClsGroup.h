#pragma once
#include <QString>
#include <cstdint>

#include "Loaded.h"
#include "Saved.h"

// One resource group (a row of tblGroups): its working day and slot length. Also writes
// groups to and reads them from the template file "Groups.ini" in the program folder.
class ClsGroup {
public:
    ClsGroup() { InitBfr(); }

    int16_t DayEnd() const { return m_dayEnd; }
    int16_t DayStart() const { return m_dayStart; }
    int32_t GroupId() const { return m_groupId; }
    QString GroupName() const { return m_groupName; }
    int16_t Interval() const { return m_interval; }
    void setDayEnd(int16_t v) { m_dayEnd = v; }
    void setDayStart(int16_t v) { m_dayStart = v; }
    void setGroupName(const QString& v) { m_groupName = v; }
    void setInterval(int16_t v) { m_interval = v; }

    // Deletes the group with its resources, appointment types, their bookings and its
    // customer links, then every customer left in no group; resets the buffer.
    // False when the database did not take the cascade: nothing was deleted.
    bool Delete(int32_t groupId);
    void InitBfr();
    Loaded Load(int32_t groupId);
    // Id of the row written, 0 when nothing was (also for a slot length of 0 or less).
    int32_t Save();
    // How many bookings of the stored group lie within its stored working day but outside
    // this record's day (they start before DayStart or end after DayEnd): those a Save
    // would take off the chart. 0 for a new group; none when they cannot be counted.
    [[nodiscard]] std::optional<int32_t> BookingsLeftOutside() const;
    // What LoadTemplate came to.
    struct [[nodiscard]] TemplateLoad {
        enum Outcome {
            Made,        // the group and every resource of the template are stored
            Refused,     // the template cannot be read whole, or holds a value no editor
                         // allows: why says which, naming the key and the value
            NotWritten,  // the database did not take it
        };
        Outcome outcome;
        QString why;  // for Refused, as the user reads it
    };
    // A new group and its resources from the template file's section of that name, left
    // in this record. The whole section is read and checked against the editors' limits
    // first, and then written in one transaction: unless it is Made, nothing of the
    // template is stored, and this record and the shared resource record are as they were.
    TemplateLoad LoadTemplate(const QString& templateName);
    // The group and its resources as a section of the template file, named as the group,
    // replacing the whole section; "Group saved!" tells the user once it is written whole.
    // NotRead when the group or its resources could not be read, NotWritten when the file
    // could not be written: the file is then as it was, and the caller tells why. A group
    // that is not there saves nothing and is no failure (Done).
    Saved SaveTemplate(int32_t groupId);

    static QString TemplateFile();
    static constexpr int16_t kDefaultInterval = 5;  // minutes

private:
    int32_t m_groupId = 0;
    int16_t m_dayStart = 0;   // minutes since midnight
    int16_t m_dayEnd = 1440;  // minutes since midnight
    int16_t m_interval = kDefaultInterval;
    QString m_groupName;
};
