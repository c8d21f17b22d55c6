#include "DialogParts.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ClsForms.h"
#include "Nudgel.h"
#include "SharedObjects.h"

QGroupBox* DialogParts::SpinFrame(QWidget* parent, const QString& title, const QString& name,
                                  plat::Nudgel*& spin, QLabel*& label) {
    label = new QLabel;
    label->setObjectName("Lbl" + name);
    return SpinFrameOf(parent, title, name, spin, label);
}

QGroupBox* DialogParts::SpinFrameOf(QWidget* parent, const QString& title,
                                    const QString& name, plat::Nudgel*& spin, QWidget* value) {
    auto* frame = new QGroupBox(title, parent);
    if (auto* label = qobject_cast<QLabel*>(value)) label->setAlignment(Qt::AlignCenter);
    if (auto* field = qobject_cast<QLineEdit*>(value)) field->setAlignment(Qt::AlignCenter);
    value->setMinimumWidth(70);
    spin = new plat::Nudgel(Qt::Vertical, frame);
    spin->setObjectName("Spin" + name);
    spin->setZeroArrow(plat::Nudgel::Arrow::Forward);
    spin->setFixedSize(18, 28);
    auto* layout = new QHBoxLayout(frame);
    layout->addWidget(value, 1);
    layout->addWidget(spin);
    return frame;
}

QGroupBox* DialogParts::TextFrame(QWidget* parent, const QString& title, const QString& name,
                                  QLineEdit*& box) {
    auto* frame = new QGroupBox(title, parent);
    box = new QLineEdit(frame);
    box->setObjectName(name);
    SelectAllOnFocus(box);
    (new QHBoxLayout(frame))->addWidget(box);
    return frame;
}

void DialogParts::SelectAllOnFocus(QLineEdit* box) {
    SharedObjects::Forms().SelectAllOnFocus(*box);
}

QHBoxLayout* DialogParts::ButtonRow(QDialog* dialog, const QString& name,
                                    std::array<QPushButton*, 3>& buttons,
                                    const std::function<void(int index)>& onClick) {
    auto* row = new QHBoxLayout;
    const char* captions[] = {"&Save", "&Cancel", "&Help"};
    for (int i = 0; i < 3; ++i) {
        buttons[i] = new QPushButton(captions[i], dialog);
        buttons[i]->setObjectName(name + QString::number(i));
        buttons[i]->setAutoDefault(false);
        row->addWidget(buttons[i]);
        QObject::connect(buttons[i], &QPushButton::clicked, dialog, [onClick, i] { onClick(i); });
    }
    buttons[0]->setDefault(true);
    return row;
}

void DialogParts::CentreOverMain(QDialog& dialog) {
    const QWidget* main = dialog.parentWidget() ? dialog.parentWidget()->window() : nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (!main && w->objectName() == "DlgMain") main = w;
    SharedObjects::Forms().CentreForm(dialog, main);
}
