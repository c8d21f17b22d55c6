#pragma once
#include <gtest/gtest.h>

#include <QStringList>

#include "ClsDAO.h"
#include "IHostWindow.h"
#include "SharedObjects.h"
#include "TestSupport.h"

// A host window that records what the database layer does with its timer and panels.
class FakeHost : public IHostWindow {
public:
    bool timer = true;
    int switchedOff = 0;
    bool input = true;
    QStringList panels;  // "key=text" in the order they were set
    QStringList asked;   // the questions, in order
    bool answer = true;  // to every question
    bool TimerEnabled() const override { return timer; }
    void SetTimerEnabled(bool on) override {
        if (!on) ++switchedOff;
        timer = on;
    }
    void SetPanelText(const QString& key, const QString& text) override {
        panels << key + "=" + text;
    }
    void SetInputEnabled(bool on) override { input = on; }
    bool Confirm(const QString& message) override {
        asked << message;
        return answer;
    }
    int waits = 0;  // waits shown
    void ShowWaiting(bool on) override { waits += on ? 1 : 0; }
};

// A temporary program folder holding a fresh database made from the schema.
class DbFixture : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(ClsDAO::CreateDatabase(dbPath())); }
    void TearDown() override { SharedObjects::SetHost(nullptr); }
    QString dbPath() const { return folder.file("Rostima.mdb"); }
    ClsDAO& dao() { return SharedObjects::DAO(); }
    // Opens the shared database object on the fixture's file.
    void open() { ASSERT_EQ(dao().DbOpen(dbPath()), 0); }
    // First column of the first row of a query, or -1 when there is none.
    int64_t scalar(const QString& sql) {
        auto rs = dao().SqlQuery(sql);
        return rs && !rs->Eof() ? rs->Field(0).toLong() : -1;
    }

    TempProgramFolder folder;
};
