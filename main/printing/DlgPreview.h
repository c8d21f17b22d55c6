#pragma once
#include <QDialog>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "ClsViewPro.h"

class ClsRecordset;
class IPreviewEditor;
class ReadAgain;
class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QRadioButton;
namespace plat {
class ComboBox;
class Glidex;
class KeyedToolbar;
class Nudgel;
class ViewPro;
}  // namespace plat

// The print preview of the booking editor: the day report of the editor's slot list, or
// the bookings of one customer or one appointment type of the group from the editor's
// date on, shown page by page and printed. It moves the editor's date and resource
// itself, so the day report always shows what the editor shows.
//
// A report runs to its end before anything else of the window may act: while it draws,
// its controls are off and the close box and the report choice are ignored.
class DlgPreview : public QDialog {
    Q_OBJECT

public:
    enum Report : int16_t { DayReport = 0, CustomerReport = 1, TaskReport = 2 };

    explicit DlgPreview(IPreviewEditor& editor, QWidget* parent = nullptr);
    ~DlgPreview() override;

    // The editor's Print command: loads the preview and shows it modally over the editor.
    static void ShowModal(IPreviewEditor& editor);
    // Makes the booking editor's Print command open the preview over it.
    static void Install();
    static void Uninstall();

    void setRepType(int16_t report);
    int16_t RepType() const { return m_repType; }
    bool MilitaryTime() const { return m_militaryTime; }
    bool IsDrawing() const { return m_drawing; }

    // Event steps.
    void Form_Load();
    void Form_Activate();
    void Form_Resize();
    void Option1_Click(int index);
    void CbSelect_Click();
    void Glidex1_Change(int position);
    void PageSpin_Click(int16_t direction);
    void SpinDate_Click(int16_t direction);
    void Toolbar1_ButtonClick(const QString& key);
    // Selects report i anew, so that its choice step runs even when it is selected.
    void SelectReport(int index);

    // Reports, each into a new document, page 1 shown afterwards.
    void DrawDay();
    void DrawCustomer();
    void DrawTask();
    // The frame of the current page; leaves the 18-pt bold font set.
    void DrawHeadFoot(const QString& title, int32_t day, int16_t page);
    void EnableMe(bool enabled);
    void ViewPro1_Error(int16_t number, const QString& text);

    // The page footer: our notice of rights and our web address.
    static QString FooterNotice();

    // The controls, named as the program knows them.
    plat::KeyedToolbar* Toolbar1 = nullptr;
    plat::Nudgel* SpinDate = nullptr;
    plat::Glidex* Glidex1 = nullptr;
    std::array<QRadioButton*, 3> Option1{};
    plat::ComboBox* CbSelect = nullptr;
    QLabel* LblPages = nullptr;
    plat::Nudgel* PageSpin = nullptr;
    plat::ViewPro* ViewPro1 = nullptr;
    QMenuBar* MenuBar = nullptr;
    QMenu* mnuFile = nullptr;
    QMenu* mnuDate = nullptr;
    QMenu* mnuResource = nullptr;
    QAction* mnuHelp = nullptr;
    // The menu's own entries.
    QAction* mnuFilePrint = nullptr;
    QAction* mnuFileExit = nullptr;
    QAction* mnuDateNext = nullptr;
    QAction* mnuDatePrevious = nullptr;
    QAction* mnuResourceNext = nullptr;
    QAction* mnuResourcePrevious = nullptr;
    // The report asked for, read again shortly when a read of it failed.
    ReadAgain* ReportRead = nullptr;

    static constexpr int kTwipsPerPixel = 15;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    struct Column {
        const char* heading;
        int16_t x;  // per-mille anchor
        int16_t align;
    };
    // One report's table and the source of its rows.
    struct Table {
        std::vector<int16_t> rules;  // per-mille x of the vertical rules inside the box
        std::vector<Column> columns;
        int16_t rowFontSize;
        bool yieldPerRow;                // let the window repaint between rows
        std::function<QString()> title;  // read again for each page
        std::function<int32_t()> day;
    };
    // The month calendar, modal; its date is the program's current date afterwards.
    void ShowCalendar();
    void buildControls();
    void buildMenus();
    // Draws a whole report into a new document and shows its page 1.
    void runReport(const Table& table, int rowCount,
                   const std::function<QStringList(int row)>& cellsOf);
    void drawBand(const Table& table, const QStringList& texts, int16_t& y);
    // The customer or type report of a list's entry (-1: the list's first); false, with
    // the document, the list and the report shown as they were, when the list or the
    // bookings could not be read. showReport reads the list too.
    bool showReport(int16_t report, int32_t choose);
    bool showEntry(int32_t id);
    // The report of the entry picked in the list.
    void showPicked();
    // The report's button checked, without its choice step.
    void showChoice(int16_t report);
    // The bookings of the customer or type report of an entry from the editor's date on.
    std::unique_ptr<ClsRecordset> readBookings(int16_t report, int32_t id);
    // The customer and type reports: one query, the name of field 0 in column 3.
    void drawBookings(int16_t report, ClsRecordset& rs);
    void showPages(int16_t page);

    IPreviewEditor& m_editor;
    std::unique_ptr<ClsViewPro> Viewer;
    int16_t m_repType = DayReport;
    bool m_militaryTime = false;
    bool m_activated = false;
    bool m_inResize = false;
    bool m_drawing = false;  // a report is being drawn
    int m_menuTop = 0;       // pixels the menu bar takes above the design positions
    int32_t m_entry = -1;    // the list's entry whose report is shown (-1: none)
    // What the user chose last, as the report buttons and the list show it; the report
    // shown (m_repType, m_entry) becomes it only once its read succeeded.
    struct Request {
        int16_t report = DayReport;
        int32_t entry = -1;  // -1: the list's first
    };
    Request m_asked;
};
