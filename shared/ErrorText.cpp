#include "ErrorText.h"

#include "ClsLogging.h"
#include "SharedObjects.h"

namespace err {

void LogRecordError(const QString& where, int number, int line, const QString& desc,
                    const QString& sql) {
    SharedObjects::Log().LogMsg(OnLine(where, number, line, desc));
    if (!sql.isNull()) SharedObjects::Log().LogMsg("SqlStr = " + sql);
}

}  // namespace err
