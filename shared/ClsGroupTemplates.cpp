// ClsGroup: group templates in "Groups.ini" (working day, slot length, resources).
#include <QCoreApplication>

#include "ClsDAO.h"
#include "ClsGroup.h"
#include "ClsIni.h"
#include "ClsResource.h"
#include "ErrorText.h"
#include "MsgBox.h"
#include "SharedObjects.h"

namespace {
// "ResName001": three digits at least, four from 1000 on.
QString key(const char* stem, int number) {
    return stem + QString("%1").arg(number, 3, 10, QChar('0'));
}

// A 16-bit number from the template; false when the text is not one.
bool readNumber(ClsIni& ini, const QString& section, const QString& name, int16_t def,
                int16_t& out) {
    bool ok = false;
    const int v = ini.GetValue(section, name, int64_t{def}).trimmed().toInt(&ok);
    if (!ok || v < -32768 || v > 32767) return false;
    out = static_cast<int16_t>(v);
    return true;
}
}  // namespace

// Everything is read before the file is touched, and the section is then replaced in one
// write: a read or a write that fails leaves the file as it was, never the new day beside
// the old resources, nor old resources past the new count.
Saved ClsGroup::SaveTemplate(int32_t groupId) {
    const Loaded loaded = Load(groupId);
    if (loaded == Loaded::NoRow) return Saved::Done;  // no such group: nothing to save
    if (loaded.Failed()) return Saved::NotRead;
    const QString sql = QString("select ResourceId from tblResources where GroupId = %1")
                            .arg(groupId);
    auto rs = SharedObjects::DAO().SqlQuery(sql);
    if (!rs) {
        err::LogRecordError("ClsGroup.SaveTemplate", err::ObjectNotSet, 4, "No record set",
                            sql);
        return Saved::NotRead;
    }
    // Taken now: the events let run below may load another group into this record.
    const QString section = m_groupName;
    QList<std::pair<QString, QString>> keys = {{"DayStart", QString::number(m_dayStart)},
                                               {"DayEnd", QString::number(m_dayEnd)},
                                               {"Interval", QString::number(m_interval)}};
    int count = 0;
    for (; !rs->Eof(); rs->MoveNext()) {
        QCoreApplication::processEvents();
        ClsResource& res = SharedObjects::Resource();
        // One deleted meanwhile is left out; one that cannot be read fails the save, rather
        // than say "Group saved!" over a template without it.
        const Loaded read = res.Load(rs->Field(0).toInt());
        if (read == Loaded::NoRow) continue;
        if (read.Failed()) return Saved::NotRead;
        ++count;
        keys += {{key("ResName", count), res.ResourceName()},
                 {key("ResMin", count), QString::number(res.MinTime())},
                 {key("ResMax", count), QString::number(res.MaxTime())},
                 {key("ResInit", count), QString::number(res.InitTime())}};
    }
    keys.append({"Resources", QString::number(count)});
    ClsIni ini;
    ini.setIniFile(TemplateFile());
    const Saved saved(ini.WriteSection(section, keys));
    if (saved == Saved::Done)
        plat::MsgBox("Group saved!", plat::vbOKOnly | plat::vbInformation, "Saved!");
    return saved;
}

bool ClsGroup::LoadTemplate(const QString& templateName) {
    ClsIni ini;
    ini.setIniFile(TemplateFile());
    const ClsGroup before = *this;
    InitBfr();
    m_groupName = templateName;
    int16_t v = 0;
    int line = 4;
    if (!readNumber(ini, templateName, "DayStart", 0, m_dayStart) ||
        (line = 5, !readNumber(ini, templateName, "DayEnd", 1440, m_dayEnd)) ||
        (line = 6, !readNumber(ini, templateName, "Interval", kDefaultInterval, m_interval))) {
        err::LogRecordError("ClsGroup.LoadTemplate", err::TypeMismatch, line, "Type mismatch");
        return true;
    }
    // One transaction: a database that refuses a write keeps none of the template.
    DbTransaction tx(SharedObjects::DAO());
    auto refused = [&] {
        *this = before;
        return false;
    };
    // Without a stored group there is nothing to hang resources on: stop here.
    if (!tx.ok() || Save() == 0) return refused();
    m_groupName = templateName + QString(" [%1]").arg(m_groupId);
    if (Save() == 0) return refused();
    if (!readNumber(ini, templateName, "Resources", 0, v)) {
        err::LogRecordError("ClsGroup.LoadTemplate", err::TypeMismatch, 7, "Type mismatch");
        return tx.Commit() || refused();
    }
    ClsResource& res = SharedObjects::Resource();
    for (int i = 1; i <= v; ++i) {
        res.InitBfr();
        // The group's defaults it reads are replaced by the template's durations below.
        static_cast<void>(res.setGroupId(m_groupId));
        res.setResourceName(ini.GetValue(templateName, key("ResName", i), "???"));
        int16_t minT = 0, maxT = 0, initT = 0;
        if (!readNumber(ini, templateName, key("ResMin", i), 5, minT) ||
            !readNumber(ini, templateName, key("ResMax", i), 60, maxT) ||
            !readNumber(ini, templateName, key("ResInit", i), 5, initT)) {
            err::LogRecordError("ClsGroup.LoadTemplate", err::TypeMismatch, 8, "Type mismatch");
            return tx.Commit() || refused();
        }
        res.setMinTime(minT);
        res.setMaxTime(maxT);
        res.setInitTime(initT);
        if (res.Save() == 0) return refused();
    }
    return tx.Commit() || refused();
}
