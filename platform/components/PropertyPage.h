#pragma once
#include <QString>
#include <QWidget>
#include <functional>

#include "PageExchange.h"

// Stand-in for a property page: one tab of a property frame that edits properties of a
// control through its automation members. The page loads from the control when it is
// set, and writes back on Apply; a value the page refuses keeps the page open, with the
// reason in ErrorText and the focus on the item. Host calls are virtual, as a page may
// live in a component library.
namespace plat {

class OleControl;

class PropertyPage : public QWidget {
    Q_OBJECT

public:
    explicit PropertyPage(QWidget* parent = nullptr);
    ~PropertyPage() override;

    virtual QString Caption() const = 0;
    virtual void SetObject(OleControl* control);
    virtual bool Apply();
    virtual bool IsDirty() const { return m_dirty; }
    virtual QString ErrorText() const { return m_error; }
    // Called whenever the page becomes dirty (the frame enables its Apply button).
    virtual void SetDirtyCallback(std::function<void()> callback);

protected:
    // Loading and saving, in the page's order of items.
    virtual void DoDataExchange(PageExchange& dx) = 0;
    OleControl* Object() const { return m_control; }
    void SetDirty(bool dirty = true);
    void SetError(const QString& error) { m_error = error; }

private:
    void load();

    OleControl* m_control = nullptr;
    bool m_loading = false;  // items change while loading; that is no edit
    bool m_dirty = false;
    QString m_error;
    std::function<void()> m_dirtyCallback;
};

}  // namespace plat
