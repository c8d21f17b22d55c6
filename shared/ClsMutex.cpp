#include "ClsMutex.h"

#include "ClsLogging.h"
#include "ErrorText.h"
#include "NamedObject.h"
#include "SharedObjects.h"

namespace {
// A broken lock folder must not send the log's own lock request round in circles.
thread_local bool t_reportingFailure = false;
}  // namespace

ClsMutex::~ClsMutex() {
    if (m_handle != 0 && m_destroyWithClass) DeleteMutex();
}

bool ClsMutex::GetMutex(const QString& MutexName, bool DestroyWithClass, int32_t WaitFor) {
    if (WaitFor < 0) return false;
    const plat::NamedObjectResult r = plat::CreateNamedObject(MutexName, WaitFor);
    if (r.outcome == plat::NamedObjectOutcome::AlreadyExists) return false;
    // A lock that could not be made at all still counts as held (the work goes on), but
    // say so once: otherwise a broken lock folder stays invisible.
    if (r.outcome == plat::NamedObjectOutcome::Failed && !t_reportingFailure) {
        t_reportingFailure = true;
        SharedObjects::Log().LogMsg(err::AtLine("ClsMutex.GetMutex", r.error, 1, r.description));
        t_reportingFailure = false;
    }
    m_handle = r.handle;
    m_name = MutexName;
    m_destroyWithClass = DestroyWithClass;
    return true;
}

void ClsMutex::DeleteMutex() {
    plat::CloseNamedObject(m_handle);
    m_handle = 0;
    m_name.clear();
}
