#pragma once
#include "ClsGroupMember.h"

// One appointment type (a row of tblTasks) with its colour (0x00BBGGRR). Writing GroupId
// loads that group (its slot length is the durations' step) but keeps the durations; the
// load's outcome comes back.
class ClsTask : public ClsGroupMember {
public:
    static constexpr int32_t kDefaultColour = 255;  // pure red

    ClsTask();

    int32_t Colour() const { return m_colour; }
    int32_t TaskId() const { return m_id; }
    QString TaskName() const { return m_name; }
    void setColour(int32_t v) { m_colour = v; }
    Loaded setGroupId(int32_t v);
    void setTaskName(const QString& v) { m_name = v; }

    void InitBfr() override;

protected:
    bool copyRow(const ClsRecordset& rs, QString& failedColumn) override;
    QStringList saveColumns() const override;
    SqlValues saveValues() const override;

private:
    int32_t m_colour = kDefaultColour;
};
