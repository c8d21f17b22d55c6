#pragma once
#include <QString>
#include <QStringList>
#include <QWidget>
#include <cstdint>
#include <vector>

class QLabel;
class QTableView;
class QModelIndex;

// A list of rows of cells under a title: rows count from 0, columns from 1. A row is
// handed as a list of cells (a ";" inside a name stays in its cell) or as one text whose
// cells are separated by ";". Each row keeps a 32-bit number and a hidden text, and a
// colour (0x00BBGGRR; system colours are mapped when painted). A column may be a check
// column, whose cell values are 0 unchecked, 1 checked and 2 a mark the user cannot
// change. Setting the selected or current row from code raises nothing; removing the
// rows clears the selection.
namespace plat {

class TabrixModel;

class Tabrix : public QWidget {
    Q_OBJECT

public:
    // The list's operation numbers, as the calling code knows them.
    enum class Op {
        Font = -512,
        GridLines = 3,
        Title = 7,
        FullRowSelect = 9,
        CurrentRow = 42,
        SelectedRow = 43,
        ListMode = 68,
        AddColumn = 97,
        ClearColumns = 98,
        AddRow = 99,
        RowCount = 100,
        ClearRows = 103,
        ColumnKind = 129,
        RowBackColor = 131,
        RowColor = 132,
        RowText = 137,
        CellText = 139,
        CellValue = 143,
        RowData = 145,
    };
    enum ColumnKindValue { TextColumn = 0, CheckColumn = 2 };
    enum CheckValue : int16_t { Unchecked = 0, Checked = 1, Locked = 2 };
    static constexpr int kNoRow = -1;
    static constexpr uint32_t kWhite = 0xFFFFFF;

    explicit Tabrix(QWidget* parent = nullptr);
    ~Tabrix() override;

    // 97: appends a column; width in pixels.
    void addColumn(const QString& heading, int width);
    // 98: removes every column (the rows stay, unseen until columns come back).
    void clearColumns();
    int columnCount() const;
    QString columnHeading(int column) const;
    // 129: CheckColumn makes the column a check column; TextColumn makes it plain again.
    void setColumnKind(int column, int kind);

    // 99: appends a row and returns its index. Missing cells are empty.
    int addRow(const QStringList& cells);
    // The ";"-separated form: every ";" divides two cells.
    int addRowText(const QString& text);
    // 103: removes every row; no row is selected afterwards.
    void clearRows();
    // 100
    int rowCount() const;

    // 139: "" for a row or column that is not there.
    QString cellText(int row, int column) const;
    // 143: 0 for a cell that is not there. A check cell takes only 0, 1 or 2.
    int16_t cellValue(int row, int column) const;
    void setCellValue(int row, int column, int16_t value);
    // 145: 0 for a row that is not there.
    int32_t rowData(int row) const;
    void setRowData(int row, int32_t value);
    // 137: the hidden text kept with the row.
    QString rowText(int row) const;
    void setRowText(int row, const QString& text);
    // 131 and 132: the row's colour (both paint the background); white until set.
    uint32_t rowColor(int row) const;
    void setRowColor(int row, uint32_t colour);

    // 43: -1 when none. Setting it raises nothing; a row that is not there selects none.
    int selectedRow() const { return m_selected; }
    void setSelectedRow(int row);
    // 42: selects the row and scrolls it into view; raises nothing.
    void setCurrentRow(int row);

    // 7: shown over the list; hidden while empty.
    QString title() const;
    void setTitle(const QString& text);
    // 68: the caller's list mode, kept as given (check cells work in every mode).
    int32_t listMode() const { return m_listMode; }
    void setListMode(int32_t mode) { m_listMode = mode; }
    // 3 and 9.
    bool gridLines() const;
    void setGridLines(bool on);
    bool fullRowSelect() const { return m_fullRowSelect; }
    void setFullRowSelect(bool on) { m_fullRowSelect = on; }

    // As the user would: a click selects the row, toggles a free check cell and raises
    // ItemClick; a double click raises DblClick too. Rows that are not there do nothing.
    // From the keyboard: the arrows, Home, End, the page keys and a typed letter select
    // another row and raise only RowMoved; Enter raises ItemClick for the selected row;
    // Space toggles its free check cells; Tab moves on to the next control.
    void click(int row, int column);
    void doubleClick(int row, int column);
    // Where a cell is drawn, in the coordinates of viewport() (for tests that click).
    QRect cellRect(int row, int column) const;
    QWidget* viewport() const;

signals:
    // The user clicked a cell, or pressed Enter on the selected row.
    void ItemClick(int row, int column);
    void DblClick(int row, int column);
    // The keys moved the selection to another row: not a click, so nothing is placed or
    // ticked by it.
    void RowMoved(int row);

private:
    void onClicked(const QModelIndex& index);
    void onDoubleClicked(const QModelIndex& index);
    void toggleCheck(int row, int column);  // a free check cell only
    void toggleChecks(int row);
    void showSelection();

    QLabel* m_title;
    QTableView* m_view;
    TabrixModel* m_model;
    int m_selected = kNoRow;
    int32_t m_listMode = 0;
    bool m_fullRowSelect = true;
};

}  // namespace plat
