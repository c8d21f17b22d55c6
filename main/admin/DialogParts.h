#pragma once
#include <QString>
#include <array>
#include <functional>

class QDialog;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;
namespace plat {
class Nudgel;
}

// The pieces the small set-up dialogs are made of: a framed value with its spin, a framed
// name box, and the row of "&Save", "&Cancel" and "&Help" buttons.
namespace DialogParts {

// A frame captioned title holding a label (the value as text) and a spin whose
// direction 0 raises the value.
QGroupBox* SpinFrame(QWidget* parent, const QString& title, const QString& name,
                     plat::Nudgel*& spin, QLabel*& label);
// The same frame around a value widget of the caller's (made with no parent; the frame
// takes it), such as a field the value is typed into.
QGroupBox* SpinFrameOf(QWidget* parent, const QString& title, const QString& name,
                       plat::Nudgel*& spin, QWidget* value);
// A frame captioned title holding a text box; the box selects its whole text whenever it
// receives the focus.
QGroupBox* TextFrame(QWidget* parent, const QString& title, const QString& name, QLineEdit*& box);
// Makes a text box select its whole text whenever it receives the focus.
void SelectAllOnFocus(QLineEdit* box);
// Buttons 0 "&Save" (the default), 1 "&Cancel" and 2 "&Help", named <name>0..2, in a
// row; a click hands its index to onClick.
QHBoxLayout* ButtonRow(QDialog* dialog, const QString& name, std::array<QPushButton*, 3>& buttons,
                       const std::function<void(int index)>& onClick);
// Centres the dialog over the main window (its owner's window, else the window named
// "DlgMain"), or on the screen when there is none.
void CentreOverMain(QDialog& dialog);

}  // namespace DialogParts
