// ClsGroup: group templates in "Groups.ini" (working day, slot length, resources).
#include <QCoreApplication>
#include <QHash>
#include <optional>

#include "ClsDAO.h"
#include "ClsGroup.h"
#include "ClsIni.h"
#include "ClsResource.h"
#include "ErrorText.h"
#include "EventYield.h"
#include "MsgBox.h"
#include "SharedObjects.h"

namespace {
// "ResName001": three digits at least, four from 1000 on.
QString key(const char* stem, int number) {
    return stem + QString("%1").arg(number, 3, 10, QChar('0'));
}

// What the group and resource editors let a value be (their spins keep within these), in
// minutes: a template holds nothing they could not have made. As in the resource editor,
// no duration looks at the group's day length.
constexpr int kDay = 1440;             // a time of day, and the longest slot or duration
constexpr int kShortest = 5;           // the shortest slot, and so the smallest duration step
constexpr int kMostResources = 32767;  // the count is read as a 16-bit number

// The first thing that keeps a template from loading: its error number and step for the
// log line, and why, naming the key and the value, for the user.
struct Fault {
    int number = 0;
    int line = 0;
    QString why;
};

// A template's section, read from the file once: its values by key without regard to
// case, the first of a key written twice (as a read of that one value finds it).
class TemplateSection {
public:
    explicit TemplateSection(const QList<std::pair<QString, QString>>& entries) {
        for (const auto& [k, v] : entries)
            if (!m_values.contains(k.toCaseFolded())) m_values.insert(k.toCaseFolded(), v);
    }
    QString text(const QString& k, const QString& def) const {
        return m_values.value(k.toCaseFolded(), def);
    }
    // The key as a refusal names it: "ResMax001=70000", or the default a missing one is.
    QString shown(const QString& k, int def) const {
        const auto it = m_values.constFind(k.toCaseFolded());
        if (it != m_values.cend()) return k + "=" + *it;
        return QString("%1 (not in the file, so %2)").arg(k).arg(def);
    }
    // The value as a whole number from low to high; none, and the fault, otherwise.
    std::optional<int16_t> number(const QString& k, int16_t def, int low, int high,
                                  const QString& rule, int line, Fault& f) const {
        bool ok = false;
        const qlonglong v = text(k, QString::number(def)).toLongLong(&ok);
        if (ok && v >= low && v <= high) return static_cast<int16_t>(v);
        // The numbers the program has always logged: no number, too large for 16 bits, and
        // a number the editors do not allow.
        const int number = !ok                       ? err::TypeMismatch
                           : v < -32768 || v > 32767 ? err::Overflow
                                                     : err::InvalidCall;
        f = {number, line, shown(k, def) + ": " + rule + "."};
        return std::nullopt;
    }

private:
    QHash<QString, QString> m_values;
};

struct TemplateResource {
    QString name;
    int16_t minTime, maxTime, initTime;  // minutes
};
struct TemplatePlan {
    int16_t dayStart, dayEnd, interval;  // minutes
    QList<TemplateResource> resources;
};

// The template as it is to be stored, or none and the first fault; the steps are numbered
// as the log has always numbered them.
std::optional<TemplatePlan> planOf(const TemplateSection& s, Fault& f) {
    const QString timeOfDay =
        QString("a time of day is a whole number of minutes from 0 to %1").arg(kDay);
    const QString minutes =
        QString("%3 is a whole number of minutes from %1 to %2").arg(kShortest).arg(kDay);
    const auto start = s.number("DayStart", 0, 0, kDay, timeOfDay, 4, f);
    if (!start) return std::nullopt;
    const auto end = s.number("DayEnd", 1440, 0, kDay, timeOfDay, 5, f);
    if (!end) return std::nullopt;
    if (*end <= *start) {
        f = {err::InvalidCall, 5,
             s.shown("DayEnd", 1440) + ": the day must end after it starts (" +
                 s.shown("DayStart", 0) + ")."};
        return std::nullopt;
    }
    const auto interval = s.number("Interval", ClsGroup::kDefaultInterval, kShortest, kDay,
                                   minutes.arg("a slot length"), 6, f);
    if (!interval) return std::nullopt;
    const QString counted =
        QString("the number of resources is a whole number from 0 to %1").arg(kMostResources);
    const auto count = s.number("Resources", 0, 0, kMostResources, counted, 7, f);
    if (!count) return std::nullopt;
    TemplatePlan plan{*start, *end, *interval, {}};
    plan.resources.reserve(*count);
    const QString duration = minutes.arg("a duration");
    for (int i = 1; i <= *count; ++i) {
        const QString minKey = key("ResMin", i), maxKey = key("ResMax", i),
                      initKey = key("ResInit", i);
        const auto minT = s.number(minKey, 5, kShortest, kDay, duration, 8, f);
        if (!minT) return std::nullopt;
        const auto maxT = s.number(maxKey, 60, kShortest, kDay, duration, 8, f);
        if (!maxT) return std::nullopt;
        const auto initT = s.number(initKey, 5, kShortest, kDay, duration, 8, f);
        if (!initT) return std::nullopt;
        if (*maxT < *minT) {
            const QString rule = ": the longest duration must not be below the shortest (";
            f = {err::InvalidCall, 8, s.shown(maxKey, 60) + rule + s.shown(minKey, 5) + ")."};
            return std::nullopt;
        }
        if (*initT < *minT || *initT > *maxT) {
            const QString rule =
                ": the initial duration must lie from the shortest to the "
                "longest (";
            f = {err::InvalidCall, 8,
                 s.shown(initKey, 5) + rule + s.shown(minKey, 5) + ", " + s.shown(maxKey, 60) +
                     ")."};
            return std::nullopt;
        }
        plan.resources.append({s.text(key("ResName", i), "???"), *minT, *maxT, *initT});
    }
    return plan;
}

QString description(int number) {
    switch (number) {
        case err::TypeMismatch:
            return "Type mismatch";
        case err::Overflow:
            return "Overflow";
        default:
            return "Invalid procedure call or argument";
    }
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
        EventYield::Run();
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

ClsGroup::TemplateLoad ClsGroup::LoadTemplate(const QString& templateName) {
    ClsIni ini;
    ini.setIniFile(TemplateFile());
    // The section is read in one go and checked whole before the database is touched: a
    // template refused makes nothing, and the write lock is held for the inserts alone.
    const auto entries = ini.GetSectionValues(templateName);
    if (!entries)
        return {TemplateLoad::Refused, "The template file " + TemplateFile() + " cannot be read."};
    Fault fault;
    const std::optional<TemplatePlan> plan = planOf(TemplateSection(*entries), fault);
    if (!plan) {
        err::LogRecordError("ClsGroup.LoadTemplate", fault.number, fault.line,
                            description(fault.number) + ": " + fault.why);
        return {TemplateLoad::Refused, fault.why};
    }
    const ClsGroup before = *this;
    ClsResource& res = SharedObjects::Resource();
    const ClsResource resBefore = res;
    auto notWritten = [&] {
        *this = before;
        res = resBefore;
        return TemplateLoad{TemplateLoad::NotWritten, {}};
    };
    // One transaction: a database that refuses a write keeps none of the template.
    DbTransaction tx(SharedObjects::DAO());
    if (!tx.ok()) return notWritten();
    InitBfr();
    m_groupName = templateName;
    m_dayStart = plan->dayStart;
    m_dayEnd = plan->dayEnd;
    m_interval = plan->interval;
    if (Save() == 0) return notWritten();
    m_groupName = templateName + QString(" [%1]").arg(m_groupId);
    if (Save() == 0) return notWritten();
    if (!plan->resources.isEmpty()) {
        res.InitBfr();
        // Once for all: the resource's private group becomes the new one, whose default
        // durations the template's replace.
        if (!(res.setGroupId(m_groupId) == Loaded::Row)) return notWritten();
        for (const TemplateResource& r : plan->resources) {
            res.setResourceId(0);  // each one a new row
            res.setResourceName(r.name);
            res.setMinTime(r.minTime);
            res.setMaxTime(r.maxTime);
            res.setInitTime(r.initTime);
            if (res.Save() == 0) return notWritten();
        }
    }
    if (!tx.Commit()) return notWritten();
    return {TemplateLoad::Made, {}};
}
