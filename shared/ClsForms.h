#pragma once
#include <QString>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "ComboBox.h"
#include "ListBox.h"

class QLineEdit;
class QToolBar;
class QWidget;

// Small operations every form uses on its lists and combo boxes: filling them from a
// query with an id behind each entry, and reading and setting the selection by that id
// (-1 = none). Failures are skipped quietly: a row that cannot be read is left out. A
// fill gives the number of rows its query read; one whose query cannot run leaves the list
// as it was and gives none (an empty optional).
class ClsForms {
public:
    void AddComboItem(plat::ComboBox& box, const QString& text, int32_t itemData);
    int32_t GetComboData(const plat::ComboBox& box);
    // Selects the first entry carrying the value, else entry 0; runs the box's Click.
    void SetComboData(plat::ComboBox& box, int32_t value);
    // Puts the box back on the entry carrying the value (-1: none) without running its
    // Click: the list shows again what the window still shows.
    void ShowComboData(plat::ComboBox& box, int32_t value);
    // Rows of (flag, text, id): an entry per row, marked selected when the flag is not 0.
    [[nodiscard]] std::optional<int> FillList(plat::ListBox& list, const QString& sql);
    // Rows of (text, id).
    [[nodiscard]] std::optional<int> FillCombo(plat::ComboBox& box, const QString& sql,
                                               bool clearFirst, bool addBlank);
    // Emptied, then noneEntry (id 0) before the rows.
    [[nodiscard]] std::optional<int> FillCombo(plat::ComboBox& box, const QString& sql,
                                               const QString& noneEntry);
    // The rows (text, id) of a fill read before anything is shown, and the entry chosen:
    // the one of that id when listed, else the first (-1: none); none when unread.
    struct Entries {
        std::vector<std::pair<QString, int32_t>> rows;
        int32_t chosen = -1;
    };
    [[nodiscard]] std::optional<Entries> ReadEntries(const QString& sql, int32_t choose);
    // The box emptied and filled with them, the chosen one shown without its Click.
    void ShowEntries(plat::ComboBox& box, const Entries& entries);
    [[nodiscard]] std::optional<int> FillChoices(plat::ListBox& list, const QString& sql);
    // The pick list of tblMenu of one menu type, by description.
    [[nodiscard]] std::optional<int> LoadMenuList(plat::ComboBox& box, int16_t menuType);
    // Centres the form over its parent, or on the screen without one.
    void CentreForm(QWidget& form, const QWidget* parent);
    int16_t EnableControls(QWidget& form, bool on);
    void FreezeDrawing(QWidget* window, bool freeze);
    void AddListItem(plat::ListBox& list, const QString& text, int32_t itemData);
    int32_t GetListData(const plat::ListBox& list);
    void SetListData(plat::ListBox& list, int32_t value);
    void SelectAllText(QLineEdit& box);
    // From now on the box selects its whole text when it gets the focus, so typing replaces
    // it: by the keyboard at once; by a click once the click is done (its press places the
    // cursor), unless it dragged a selection of its own. Both before any key queued after.
    void SelectAllOnFocus(QLineEdit& box);
    void EnableButtons(QToolBar& toolbar, bool on);
};
