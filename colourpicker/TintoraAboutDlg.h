#pragma once
#include <QDialog>
#include <QString>

// The control's about box: its name and version, closed with OK.
class TintoraAboutDlg : public QDialog {
    Q_OBJECT

public:
    explicit TintoraAboutDlg(QWidget* parent = nullptr);
    // The text the about box and the About page show.
    static QString AboutText();
};
