#pragma once
#include <QDialog>
#include <vector>

class QLabel;
class QPushButton;
class QTabWidget;

// Stand-in for the property frame: a dialog with one tab per property page and the
// buttons OK, Cancel and Apply. Apply writes every page that was edited; OK does the same
// and closes, unless a page refused a value: then that page is shown with its reason and
// the frame stays open. Cancel closes without writing.
namespace plat {

class OleControl;
class PropertyPage;

class PropertyFrame : public QDialog {
    Q_OBJECT

public:
    explicit PropertyFrame(QWidget* parent = nullptr);

    // Creates the control's pages by their class ids and sets the control on each; a page
    // that cannot be created is left out.
    void AddPagesOf(OleControl* control);
    // Takes the page; the control is set on it by the caller.
    void AddPage(PropertyPage* page);
    int PageCount() const { return static_cast<int>(m_pages.size()); }
    PropertyPage* Page(int index) const;
    QPushButton* OkButton() const { return m_ok; }
    QPushButton* CancelButton() const { return m_cancel; }
    QPushButton* ApplyButton() const { return m_apply; }
    QString ErrorText() const;

    // Writes the edited pages; false at the first page that refuses.
    bool ApplyAll();
    // Shown modally, through the modal hook.
    int Exec();

private:
    void pageEdited();

    QTabWidget* m_tabs;
    QLabel* m_error;
    QPushButton* m_ok;
    QPushButton* m_cancel;
    QPushButton* m_apply;
    std::vector<PropertyPage*> m_pages;
};

}  // namespace plat
