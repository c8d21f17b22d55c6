#include "Tabrix.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>
#include <functional>

#include "OleColor.h"
#include "TextColourOn.h"

namespace plat {

// The rows and columns, held as plain data: the view only paints them. The selected
// row is painted here too, so that the list alone decides what is selected.
class TabrixModel : public QAbstractTableModel {
public:
    struct Column {
        QString heading;
        int kind = Tabrix::TextColumn;
    };
    struct Row {
        QStringList cells;
        std::vector<int16_t> values;  // by column index; missing ones are 0
        int32_t data = 0;
        QString text;
        uint32_t colour = Tabrix::kWhite;
    };

    std::vector<Column> columns;
    std::vector<Row> rows;
    int selected = Tabrix::kNoRow;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : static_cast<int>(rows.size());
    }
    int columnCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : static_cast<int>(columns.size());
    }
    bool isCheck(int c) const {
        return c >= 0 && c < static_cast<int>(columns.size()) &&
               columns[static_cast<size_t>(c)].kind == Tabrix::CheckColumn;
    }
    int16_t value(const Row& r, int c) const {
        return c < static_cast<int>(r.values.size()) ? r.values[static_cast<size_t>(c)] : 0;
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid()) return {};
        const Row& r = rows[static_cast<size_t>(index.row())];
        const int c = index.column();
        const bool picked = index.row() == selected;
        switch (role) {
            case Qt::DisplayRole:
                return r.cells.value(c);
            case Qt::CheckStateRole:
                if (!isCheck(c)) return {};
                switch (value(r, c)) {
                    case Tabrix::Checked:
                        return Qt::Checked;
                    case Tabrix::Locked:
                        return Qt::PartiallyChecked;
                    default:
                        return Qt::Unchecked;
                }
            case Qt::BackgroundRole:
                return picked ? QPalette().color(QPalette::Highlight) : OleToQColor(r.colour);
            case Qt::ForegroundRole: {
                if (picked) return QPalette().color(QPalette::HighlightedText);
                // Readable on any row colour, whatever the desktop's text colour.
                return TextColourOn(OleToQColor(r.colour));
            }
            default:
                return {};
        }
    }
    QVariant headerData(int section, Qt::Orientation o, int role) const override {
        if (o != Qt::Horizontal || role != Qt::DisplayRole) return {};
        if (section < 0 || section >= static_cast<int>(columns.size())) return {};
        return columns[static_cast<size_t>(section)].heading;
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override {
        return index.isValid() ? Qt::ItemIsEnabled : Qt::NoItemFlags;
    }
    void rowChanged(int row) {
        if (row >= 0 && row < static_cast<int>(rows.size()) && !columns.empty())
            emit dataChanged(index(row, 0), index(row, static_cast<int>(columns.size()) - 1));
    }
    void addColumn(const QString& heading) {
        const int at = static_cast<int>(columns.size());
        beginInsertColumns(QModelIndex(), at, at);
        columns.push_back({heading, Tabrix::TextColumn});
        endInsertColumns();
    }
    void clearColumns() {
        beginResetModel();
        columns.clear();
        endResetModel();
    }
    int addRow(Row row) {
        const int at = static_cast<int>(rows.size());
        beginInsertRows(QModelIndex(), at, at);
        rows.push_back(std::move(row));
        endInsertRows();
        return at;
    }
    void clearRows() {
        beginResetModel();
        rows.clear();
        selected = Tabrix::kNoRow;
        endResetModel();
    }
};

namespace {

// The table view, telling its owner when the user moves to another row with the keys,
// presses Enter on a row or Space to tick it. Tab is left to the window: it moves on to
// the next control instead of walking the cells.
class TabrixView : public QTableView {
public:
    using QTableView::QTableView;
    std::function<int()> selectedRow;
    std::function<void(int)> keyMoved;
    std::function<void(int, int)> enterPressed;
    std::function<void(int)> spacePressed;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        // Keys move on from the row the list has selected, not from wherever Qt's own
        // current cell was left.
        const int from = selectedRow();
        const bool onRow = from >= 0 && model() && from < model()->rowCount();
        if (onRow && currentIndex().row() != from)
            setCurrentIndex(model()->index(from, qMax(0, currentIndex().column())));
        const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
        if (plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
            if (onRow) enterPressed(from, qMax(0, currentIndex().column()) + 1);
            // As the item views do: the window's default button sees Enter too.
            event->ignore();
            return;
        }
        if (plain && event->key() == Qt::Key_Space) {
            if (onRow) spacePressed(from);
            return;
        }
        QTableView::keyPressEvent(event);
        const int to = currentIndex().row();
        if (to >= 0 && to != from) keyMoved(to);
    }
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override {
        // Home and End go to the first and last row, as in a list: a row is what is chosen.
        if (action == MoveHome || action == MoveEnd) modifiers |= Qt::ControlModifier;
        return QTableView::moveCursor(action, modifiers);
    }
};

}  // namespace

Tabrix::Tabrix(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    m_title = new QLabel(this);
    m_title->setObjectName("TabrixTitle");
    m_title->setAlignment(Qt::AlignCenter);
    m_title->hide();
    layout->addWidget(m_title);

    auto* view = new TabrixView(this);
    m_view = view;
    m_model = new TabrixModel;
    m_model->setParent(this);
    view->setModel(m_model);
    view->setSelectionMode(QAbstractItemView::NoSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->verticalHeader()->hide();
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 4);
    view->horizontalHeader()->setHighlightSections(false);
    view->setWordWrap(false);
    view->setShowGrid(false);
    view->setTabKeyNavigation(false);
    view->selectedRow = [this] { return m_selected; };
    // A row reached by the keys is selected and said so, but not clicked: the click is
    // Enter.
    view->keyMoved = [this](int row) {
        setSelectedRow(row);
        emit RowMoved(row);
    };
    view->enterPressed = [this](int row, int column) { emit ItemClick(row, column); };
    view->spacePressed = [this](int row) { toggleChecks(row); };
    connect(view, &QTableView::clicked, this, &Tabrix::onClicked);
    connect(view, &QTableView::doubleClicked, this, &Tabrix::onDoubleClicked);
    layout->addWidget(view);
}

Tabrix::~Tabrix() = default;

void Tabrix::addColumn(const QString& heading, int width) {
    m_model->addColumn(heading);
    m_view->setColumnWidth(columnCount() - 1, width);
}

void Tabrix::clearColumns() { m_model->clearColumns(); }

int Tabrix::columnCount() const { return static_cast<int>(m_model->columns.size()); }

QString Tabrix::columnHeading(int column) const {
    if (column < 1 || column > columnCount()) return QString();
    return m_model->columns[static_cast<size_t>(column - 1)].heading;
}

void Tabrix::setColumnKind(int column, int kind) {
    if (column < 1 || column > columnCount()) return;
    m_model->columns[static_cast<size_t>(column - 1)].kind = kind;
    if (rowCount() > 0)
        emit m_model->dataChanged(m_model->index(0, column - 1),
                                  m_model->index(rowCount() - 1, column - 1));
}

int Tabrix::addRow(const QStringList& cells) {
    TabrixModel::Row row;
    row.cells = cells;
    return m_model->addRow(std::move(row));
}

int Tabrix::addRowText(const QString& text) { return addRow(text.split(';')); }

void Tabrix::clearRows() {
    m_model->clearRows();
    m_selected = kNoRow;
}

int Tabrix::rowCount() const { return static_cast<int>(m_model->rows.size()); }

QString Tabrix::cellText(int row, int column) const {
    if (row < 0 || row >= rowCount() || column < 1) return QString();
    return m_model->rows[static_cast<size_t>(row)].cells.value(column - 1);
}

int16_t Tabrix::cellValue(int row, int column) const {
    if (row < 0 || row >= rowCount() || column < 1) return 0;
    return m_model->value(m_model->rows[static_cast<size_t>(row)], column - 1);
}

void Tabrix::setCellValue(int row, int column, int16_t value) {
    if (row < 0 || row >= rowCount() || column < 1) return;
    if (m_model->isCheck(column - 1) && (value < Unchecked || value > Locked)) return;
    auto& values = m_model->rows[static_cast<size_t>(row)].values;
    if (static_cast<int>(values.size()) < column) values.resize(static_cast<size_t>(column), 0);
    values[static_cast<size_t>(column - 1)] = value;
    m_model->rowChanged(row);
}

int32_t Tabrix::rowData(int row) const {
    return row >= 0 && row < rowCount() ? m_model->rows[static_cast<size_t>(row)].data : 0;
}

void Tabrix::setRowData(int row, int32_t value) {
    if (row >= 0 && row < rowCount()) m_model->rows[static_cast<size_t>(row)].data = value;
}

QString Tabrix::rowText(int row) const {
    return row >= 0 && row < rowCount() ? m_model->rows[static_cast<size_t>(row)].text : QString();
}

void Tabrix::setRowText(int row, const QString& text) {
    if (row >= 0 && row < rowCount()) m_model->rows[static_cast<size_t>(row)].text = text;
}

uint32_t Tabrix::rowColor(int row) const {
    return row >= 0 && row < rowCount() ? m_model->rows[static_cast<size_t>(row)].colour : kWhite;
}

void Tabrix::setRowColor(int row, uint32_t colour) {
    if (row < 0 || row >= rowCount()) return;
    m_model->rows[static_cast<size_t>(row)].colour = colour;
    m_model->rowChanged(row);
}

void Tabrix::setSelectedRow(int row) {
    const int old = m_selected;
    m_selected = row >= 0 && row < rowCount() ? row : kNoRow;
    m_model->selected = m_selected;
    m_model->rowChanged(old);
    m_model->rowChanged(m_selected);
}

void Tabrix::setCurrentRow(int row) {
    setSelectedRow(row);
    showSelection();
}

void Tabrix::showSelection() {
    if (m_selected == kNoRow || columnCount() == 0) return;
    const QModelIndex at = m_model->index(m_selected, 0);
    m_view->setCurrentIndex(at);
    m_view->scrollTo(at);
}

QString Tabrix::title() const { return m_title->text(); }

void Tabrix::setTitle(const QString& text) {
    m_title->setText(text);
    m_title->setVisible(!text.isEmpty());
}

bool Tabrix::gridLines() const { return m_view->showGrid(); }

void Tabrix::setGridLines(bool on) { m_view->setShowGrid(on); }

void Tabrix::click(int row, int column) {
    if (row < 0 || row >= rowCount()) return;
    if (m_model->isCheck(column - 1)) toggleCheck(row, column);
    setSelectedRow(row);
    emit ItemClick(row, column);
}

void Tabrix::toggleCheck(int row, int column) {
    const int16_t v = cellValue(row, column);
    if (v != Locked) setCellValue(row, column, v == Checked ? Unchecked : Checked);
}

void Tabrix::toggleChecks(int row) {
    for (int column = 1; column <= columnCount(); ++column)
        if (m_model->isCheck(column - 1)) toggleCheck(row, column);
}

void Tabrix::doubleClick(int row, int column) {
    if (row < 0 || row >= rowCount()) return;
    setSelectedRow(row);
    emit DblClick(row, column);
}

QRect Tabrix::cellRect(int row, int column) const {
    if (row < 0 || row >= rowCount() || column < 1 || column > columnCount()) return {};
    return m_view->visualRect(m_model->index(row, column - 1));
}

QWidget* Tabrix::viewport() const { return m_view->viewport(); }

void Tabrix::onClicked(const QModelIndex& index) {
    if (index.isValid()) click(index.row(), index.column() + 1);
}

void Tabrix::onDoubleClicked(const QModelIndex& index) {
    if (index.isValid()) doubleClick(index.row(), index.column() + 1);
}

}  // namespace plat
