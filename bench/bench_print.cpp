// The print preview's reports on a group of 300 resources with 20 bookings each on one
// day: the day report of one resource (the booking editor's 289 five-minute slots, 00:00
// to 24:00 both listed; also with the editor reloading the next resource's day first) and
// the type report of all 6000 bookings, each previewed (drawn, page 1 painted) and printed
// to PDF. Absolute times: beside them, as figures of their own, a plain QPainter loop
// paints as many rows as the report has, each seven texts and a ruled box, straight onto
// a PDF writer.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <memory>
#include <set>

#include "AppInfo.h"
#include "ApptPreviewEditor.h"
#include "CalendarState.h"
#include "ClsDAO.h"
#include "ClsIni.h"
#include "ComboBox.h"
#include "DlgAppt.h"
#include "DlgMain.h"
#include "DlgPreview.h"
#include "SharedObjects.h"
#include "ViewPro.h"

int32_t GetSerNo(const QString&) { return 0; }

namespace {
constexpr int kResources = 300, kPerResource = 20, kSlotMinutes = 5;
constexpr int32_t kDay = 46081;

struct World {
    QTemporaryDir dir;
    std::unique_ptr<DlgMain> main;
    std::unique_ptr<DlgAppt> appt;
    std::unique_ptr<ApptPreviewEditor> editor;
    std::unique_ptr<DlgPreview> preview;
    World() {
        plat::SetAppPathForTest(dir.path());
        const QString db = dir.path() + "/Rostima.mdb";
        ClsDAO::CreateDatabase(db);
        ClsDAO& dao = SharedObjects::DAO();
        dao.DbOpen(db);
        QStringList batch{
            "insert into tblGroups (GroupName, DayStart, DayEnd, Interval) "
            "values ('Big', 0, 1440, 5)",
            "insert into tblTasks (GroupId, TaskName) values (1, 'Massage')",
            "insert into tblCustomers (CustomerName) values ('Ann')"};
        for (int r = 1; r <= kResources; ++r) {
            batch << QString(
                         "insert into tblResources (GroupId, ResourceName) values (1, "
                         "'R%1')")
                         .arg(r, 3, 10, QChar('0'));
            for (int k = 0; k < kPerResource; ++k)
                batch << QString(
                             "insert into tblBookings (TaskId, BookingDate, BookingStart, "
                             "BookingEnd, CustomerId, ResourceId, RepeatId, Ref01, Ref02, "
                             "Ref03) values (1, %1, %2, %3, 1, %4, 0, 'a', 'b', 'c')")
                             .arg(kDay)
                             .arg(k * 60)
                             .arg(k * 60 + 45)
                             .arg(r);
        }
        dao.SqlActions(batch);
        SharedObjects::Ini().setIniFile(plat::AppExeName() + ".ini");
        CalendarState::setCalDate(kDay);
        main = std::make_unique<DlgMain>();
        main->CbGroup->AddItem("Big", 1);
        main->CbGroup->setCurrentIndex(0);
        // The booking editor on resource 1's day: 288 five-minute slots, 20 of them booked.
        appt = std::make_unique<DlgAppt>();
        appt->setGroupId(1);
        appt->setResourceId(1);
        appt->setApptDate(kDay);
        appt->Form_Activate();  // lists the group's resources and selects resource 1
        editor = std::make_unique<ApptPreviewEditor>(*appt);
        preview = std::make_unique<DlgPreview>(*editor, nullptr);
        preview->Form_Load();
        preview->resize(1000, 900);
    }
    // Page 1 painted as the preview shows it.
    void paintShownPage() {
        QImage image(preview->ViewPro1->viewport()->size(), QImage::Format_RGB32);
        preview->ViewPro1->viewport()->render(&image);
        benchmark::DoNotOptimize(image.bits());
    }
};

World& world() {
    static World w;
    return w;
}

// Rows the last report put on its pages: its bands of plain text, one height each (the
// headings and the title are bold).
int drawnRows(const World& w) {
    const plat::ViewProDocument& doc = w.preview->ViewPro1->document();
    int rows = 0;
    for (int n = 1; n <= doc.pageCount(); ++n) {
        std::set<int32_t> heights;
        for (const plat::ViewProText& text : doc.page(n)->texts)
            if (!text.font.bold) heights.insert(text.y);
        rows += int(heights.size());
    }
    return rows;
}

void BM_PreviewDayReport(benchmark::State& state) {
    World& w = world();
    for (auto _ : state) {
        w.preview->DrawDay();
        w.paintShownPage();
    }
    state.counters["rows"] = drawnRows(w);
    state.counters["pages"] = w.preview->ViewPro1->pageCount();
}

// The next resource's day: the editor reloads its slot list from the database, then the
// report is drawn and its page 1 painted.
void BM_NextResourceDayReport(benchmark::State& state) {
    World& w = world();
    w.preview->SelectReport(DlgPreview::DayReport);
    for (auto _ : state) {
        w.preview->Toolbar1_ButtonClick("ArrowRight");
        w.paintShownPage();
    }
    state.counters["resource"] = w.appt->CbResource->currentIndex() + 1;
}

void BM_PreviewTypeReport(benchmark::State& state) {
    World& w = world();
    w.preview->SelectReport(DlgPreview::TaskReport);
    for (auto _ : state) {
        w.preview->DrawTask();
        w.paintShownPage();
    }
    state.counters["rows"] = drawnRows(w);
    state.counters["pages"] = w.preview->ViewPro1->pageCount();
}

void printReport(benchmark::State& state, int16_t report) {
    World& w = world();
    w.preview->SelectReport(report);
    const QString pdf = w.dir.path() + "/report.pdf";
    for (auto _ : state) w.preview->ViewPro1->saveAsPdf(pdf);
    state.counters["pages"] = w.preview->ViewPro1->pageCount();
}

void BM_PrintDayReportToPdf(benchmark::State& state) { printReport(state, DlgPreview::DayReport); }
void BM_PrintTypeReportToPdf(benchmark::State& state) {
    printReport(state, DlgPreview::TaskReport);
}

// The plain way: the rows the report of the argument puts on its pages, each seven texts
// and eight lines, painted straight onto a PDF writer page after page.
void BM_PlainPainterPdf(benchmark::State& state) {
    World& w = world();
    w.preview->SelectReport(int16_t(state.range(0)));
    const int rows = drawnRows(w);
    const QString pdf = w.dir.path() + "/plain.pdf";
    QFont font("Arial");
    font.setPixelSize(160);
    for (auto _ : state) {
        QPdfWriter writer(pdf);
        writer.setResolution(1440);
        QPainter p(&writer);
        p.setFont(font);
        int y = 0;
        for (int r = 0; r < rows; ++r) {
            if (y > 13000) {
                writer.newPage();
                y = 0;
            }
            for (int c = 0; c < 7; ++c) p.drawText(c * 1500 + 50, y + 180, "02 Mar 2026");
            p.drawRect(0, y, 10800, 230);
            for (int c = 1; c < 7; ++c) p.drawLine(c * 1500, y, c * 1500, y + 230);
            y += 240;
        }
    }
    state.counters["rows"] = rows;
}

}  // namespace

BENCHMARK(BM_PreviewDayReport)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_NextResourceDayReport)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_PrintDayReportToPdf)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_PlainPainterPdf)
    ->Arg(DlgPreview::DayReport)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->UseRealTime();
BENCHMARK(BM_PreviewTypeReport)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_PrintTypeReportToPdf)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_PlainPainterPdf)
    ->Arg(DlgPreview::TaskReport)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime();
