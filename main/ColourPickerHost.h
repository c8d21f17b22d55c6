#pragma once
#include <QObject>
#include <QPointer>
#include <QString>
#include <cstdint>
#include <functional>

#include "EventSink.h"
#include "OleControl.h"

class QWidget;

// The colour picker a dialog places: the registered control made by its class id (the
// program does not link it), invisible until asked to drop its palette, whose choice
// comes back as ColorClick. A dialog sets the colour to start from and shows the palette;
// nothing else of the control is used.
class ColourPickerHost : public QObject {
    Q_OBJECT

public:
    // The log line for a control that cannot be made, from the reason.
    using FailureLine = std::function<QString(const QString& why)>;

    // Creates the control on the dialog with that Position mode. When it cannot be made
    // (not registered, library missing) one line goes to the log, by default
    // "<owner>: colour picker not available (<why>)", and the host does nothing.
    ColourPickerHost(QWidget* dialog, int16_t position, const QString& owner,
                     const FailureLine& failureLine = {});
    ~ColourPickerHost() override;

    bool Available() const { return m_control != nullptr; }
    // Color = colour, then ShowColor; false when there is no control.
    bool Show(uint32_t colour);
    plat::OleControl* Control() const { return m_control; }

signals:
    void ColorClick(uint32_t colour, int item);

private:
    QPointer<plat::OleControl> m_control;
    plat::EventSink m_sink;
};
