#include "ClsForms.h"

#include <QAction>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QSignalBlocker>
#include <QToolBar>

#include "ClsDAO.h"
#include "EventYield.h"
#include "SharedObjects.h"

namespace {
// Runs the fill query, and only when it could run empties the list (clear) and hands
// each row to add, letting pending window events run between rows as a long fill goes
// on: a list whose query failed keeps what it showed. A row whose text is Null cannot be
// read as an entry: each fill leaves it out.
template <typename Clear, typename Add>
[[nodiscard]] std::optional<int> fillFrom(const QString& sql, Clear clear, Add add) {
    auto rs = SharedObjects::DAO().SqlQuery(sql);
    if (!rs) return std::nullopt;
    clear();
    int rows = 0;
    for (; !rs->Eof(); rs->MoveNext(), ++rows) {
        EventYield::Run();
        add(*rs);
    }
    return rows;
}

template <typename Box>
void selectByData(Box& box, int32_t value) {
    for (int i = 0; i < box.count(); ++i) {
        if (box.ItemData(i) == value) {
            box.SetListIndex(i);
            return;
        }
    }
    if (box.count() > 0) box.SetListIndex(0);
}
}  // namespace

void ClsForms::AddComboItem(plat::ComboBox& box, const QString& text, int32_t itemData) {
    box.AddItem(text, itemData);
}

int32_t ClsForms::GetComboData(const plat::ComboBox& box) {
    return box.ListIndex() < 0 ? -1 : box.ItemData(box.ListIndex());
}

void ClsForms::SetComboData(plat::ComboBox& box, int32_t value) { selectByData(box, value); }

void ClsForms::ShowComboData(plat::ComboBox& box, int32_t value) {
    const QSignalBlocker quiet(&box);
    if (value < 0) box.setCurrentIndex(-1);
    for (int i = 0; i < box.count(); ++i) {
        if (box.ItemData(i) == value) {
            box.setCurrentIndex(i);
            return;
        }
    }
}

std::optional<int> ClsForms::FillList(plat::ListBox& list, const QString& sql) {
    return fillFrom(
        sql, [&] { list.Clear(); },
        [&](const ClsRecordset& rs) {
            if (rs.Field(1).isNull()) return;
            const int i = list.AddItem(rs.Field(1).toString(), rs.Field(2).toInt());
            if (rs.Field(0).toLong() != 0) list.SetSelected(i, true);
        });
}

std::optional<int> ClsForms::FillCombo(plat::ComboBox& box, const QString& sql, bool clearFirst,
                                       bool addBlank) {
    return fillFrom(
        sql,
        [&] {
            if (clearFirst) box.Clear();
            if (addBlank) box.AddItem(QString(), 0);
        },
        [&](const ClsRecordset& rs) {
            if (!rs.Field(0).isNull()) box.AddItem(rs.Field(0).toString(), rs.Field(1).toInt());
        });
}

std::optional<int> ClsForms::FillCombo(plat::ComboBox& box, const QString& sql,
                                       const QString& noneEntry) {
    return fillFrom(
        sql,
        [&] {
            box.Clear();
            box.AddItem(noneEntry, 0);
        },
        [&](const ClsRecordset& rs) {
            if (!rs.Field(0).isNull()) box.AddItem(rs.Field(0).toString(), rs.Field(1).toInt());
        });
}

std::optional<ClsForms::Entries> ClsForms::ReadEntries(const QString& sql, int32_t choose) {
    // Without yielding: nothing else of the window may run between the read and the show.
    auto rs = SharedObjects::DAO().SqlQuery(sql);
    if (!rs) return std::nullopt;
    Entries entries;
    for (; !rs->Eof(); rs->MoveNext()) {
        if (rs->Field(0).isNull()) continue;
        const int32_t id = rs->Field(1).toInt();
        entries.rows.emplace_back(rs->Field(0).toString(), id);
        if (entries.chosen < 0 || id == choose) entries.chosen = id;
    }
    return entries;
}

void ClsForms::ShowEntries(plat::ComboBox& box, const Entries& entries) {
    box.Clear();
    for (const auto& [text, id] : entries.rows) box.AddItem(text, id);
    ShowComboData(box, entries.chosen);
}

std::optional<int> ClsForms::FillChoices(plat::ListBox& list, const QString& sql) {
    return fillFrom(
        sql, [&] { list.Clear(); },
        [&](const ClsRecordset& rs) {
            if (!rs.Field(0).isNull()) list.AddItem(rs.Field(0).toString(), rs.Field(1).toInt());
        });
}

std::optional<int> ClsForms::LoadMenuList(plat::ComboBox& box, int16_t menuType) {
    auto rs = SharedObjects::DAO().SqlQuery(
        "select MenuDesc, MenuId from tblMenu where MenuType = ? order by MenuDesc", {menuType});
    if (!rs) return std::nullopt;
    box.Clear();
    int rows = 0;
    for (; !rs->Eof(); rs->MoveNext(), ++rows)
        box.AddItem(rs->Field("MenuDesc").toString(), rs->Field("MenuId").toInt());
    return rows;
}

void ClsForms::CentreForm(QWidget& form, const QWidget* parent) {
    // No clamping: a form larger than its parent starts left of or above it.
    if (parent) {
        const QRect p = parent->geometry();
        form.move(p.left() + p.width() / 2 - form.width() / 2,
                  p.top() + p.height() / 2 - form.height() / 2);
    } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect s = screen->geometry();
        form.move(s.width() / 2 - form.width() / 2, s.height() / 2 - form.height() / 2);
    }
}

int16_t ClsForms::EnableControls(QWidget&, bool) { return 1; }

void ClsForms::FreezeDrawing(QWidget* window, bool freeze) {
    if (window) window->setUpdatesEnabled(!freeze);
}

void ClsForms::AddListItem(plat::ListBox& list, const QString& text, int32_t itemData) {
    list.AddItem(text, itemData);
}

int32_t ClsForms::GetListData(const plat::ListBox& list) {
    return list.ListIndex() < 0 ? -1 : list.ItemData(list.ListIndex());
}

void ClsForms::SetListData(plat::ListBox& list, int32_t value) { selectByData(list, value); }

void ClsForms::SelectAllText(QLineEdit& box) { box.selectAll(); }

namespace {
class SelectAllWatcher : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* box = static_cast<QLineEdit*>(watched);
        if (event->type() == QEvent::FocusIn) {
            SharedObjects::Forms().SelectAllText(*box);
            m_byClick = static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason;
        } else if (event->type() == QEvent::MouseButtonRelease && m_byClick) {
            m_byClick = false;
            if (!box->hasSelectedText()) SharedObjects::Forms().SelectAllText(*box);
        }
        return false;
    }

private:
    bool m_byClick = false;  // the focus came with a press whose release is still to come
};
}  // namespace

void ClsForms::SelectAllOnFocus(QLineEdit& box) { box.installEventFilter(new SelectAllWatcher(&box)); }

void ClsForms::EnableButtons(QToolBar& toolbar, bool on) {
    for (QAction* a : toolbar.actions()) a->setEnabled(on);
}
