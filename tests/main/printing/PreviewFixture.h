#pragma once
#include <gtest/gtest.h>

#include <QPrintDialog>
#include <QPrinter>
#include <QTemporaryDir>
#include <memory>

#include "CalendarState.h"
#include "ClsDAO.h"
#include "ClsIni.h"
#include "ComboBox.h"
#include "DlgMain.h"
#include "DlgPreview.h"
#include "IPreviewEditor.h"
#include "ModalHook.h"
#include "PdfText.h"
#include "SharedObjects.h"
#include "Tabrix.h"
#include "TestSupport.h"
#include "ViewPro.h"

// A booking editor as the preview sees it: a resource list whose choice refills the slot
// list, and the program's date. Each slot row names its resource and day, so a test sees
// which list was printed.
class FakeEditor : public IPreviewEditor {
public:
    FakeEditor() {
        for (int i = 0; i < 3; ++i)
            resources.AddItem(QString("Room %1").arg(QChar('A' + i)), i + 1);
        QObject::connect(&resources, &plat::ComboBox::Click, [this] { ShowBookings(); });
        window.setGeometry(100, 80, 700, 500);
    }
    QWidget* EditorWindow() override { return &window; }
    int32_t CurrentDate() override { return CalendarState::CalDate(); }
    void setApptDate(int32_t day) override { CalendarState::setCalDate(day); }
    void ShowBookings() override {
        ++reloads;
        list.clearRows();
        for (int r = 0; r < rowsPerDay; ++r)
            list.addRow({QString("%1:%2").arg(9 + r / 4).arg(r % 4 * 15, 2, 10, QChar('0')),
                         QString("Slot %1").arg(r + 1), resources.currentText(),
                         QString::number(CurrentDate()), "", "r3"});
    }
    plat::ComboBox& CbResource() override { return resources; }
    plat::Tabrix& LbTimeSlot() override { return list; }

    QWidget window;
    plat::ComboBox resources;
    plat::Tabrix list;
    int rowsPerDay = 8;
    int reloads = 0;
};

// A program folder with a database of one group, its settings file, a main window showing
// the group, and an editor on resource "Room A" on 2 March 2026.
class PreviewFixture : public ::testing::Test {
protected:
    static constexpr int32_t kDay = 46081;  // Monday 2 March 2026

    void SetUp() override {
        ASSERT_TRUE(ClsDAO::CreateDatabase(folder.file("Rostima.mdb")));
        ASSERT_EQ(SharedObjects::DAO().DbOpen(folder.file("Rostima.mdb")), 0);
        SharedObjects::Ini().setIniFile(folder.file("RostimaShr.ini"));
        main = std::make_unique<DlgMain>();
        CalendarState::setCalDate(kDay);
        editor.resources.SetListIndex(0);
    }
    void TearDown() override {
        preview.reset();
        main.reset();
        plat::ModalHook::SetAnswererForTest(nullptr);
        CalendarState::setCalDate(0);
    }
    void sql(const QString& statement) { ASSERT_TRUE(SharedObjects::DAO().SqlAction(statement)); }
    int32_t lastId() { return int32_t(SharedObjects::DAO().LastInsertId()); }
    // The group the main window shows.
    void showGroup(int32_t groupId) {
        main->CbGroup->AddItem("Clinic", groupId);
        main->CbGroup->setCurrentIndex(main->CbGroup->count() - 1);
    }
    DlgPreview& open() {
        preview = std::make_unique<DlgPreview>(editor, &editor.window);
        preview->Form_Load();
        return *preview;
    }
    // What the preview holds, printed to a PDF file and read back.
    std::vector<PdfPage> printed() {
        const QString path = dir.filePath(QString("printed%1.pdf").arg(++prints));
        plat::ModalHook::SetAnswererForTest([&](QDialog& d) {
            static_cast<QPrintDialog&>(d).printer()->setOutputFileName(path);
            return int(QDialog::Accepted);
        });
        preview->Toolbar1_ButtonClick("Print");
        plat::ModalHook::SetAnswererForTest(nullptr);
        return ReadPdfPages(path);
    }
    const plat::ViewProDocument& document() { return preview->ViewPro1->document(); }

    TempProgramFolder folder;
    QTemporaryDir dir;
    FakeEditor editor;
    std::unique_ptr<DlgMain> main;
    std::unique_ptr<DlgPreview> preview;
    int prints = 0;
};
