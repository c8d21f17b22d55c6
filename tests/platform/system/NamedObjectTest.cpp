#include <gtest/gtest.h>

#include "NamedObject.h"
#include "TestSupport.h"

// Any name locks, however long and in whatever letters; names that differ only at their
// end are different locks.
TEST(NamedObject, NamesOfAnyLengthLockAndStayApart) {
    TempProgramFolder folder;
    const QString longName = folder.exeName() + QString::fromUtf8("\u6771\u4eac").repeated(120);
    const QString names[] = {folder.exeName() + "_short", longName + "1", longName + "2",
                             folder.exeName() + QString(250, 'x')};
    std::vector<int> handles;
    for (const QString& name : names) {
        const plat::NamedObjectResult r = plat::CreateNamedObject(name);
        EXPECT_EQ(r.outcome, plat::NamedObjectOutcome::Created) << r.description.toStdString();
        EXPECT_EQ(plat::CreateNamedObject(name).outcome, plat::NamedObjectOutcome::AlreadyExists);
        handles.push_back(r.handle);
    }
    for (int h : handles) plat::CloseNamedObject(h);
    for (const QString& name : names) {
        const plat::NamedObjectResult r = plat::CreateNamedObject(name);
        EXPECT_EQ(r.outcome, plat::NamedObjectOutcome::Created);
        plat::CloseNamedObject(r.handle);
    }
}
