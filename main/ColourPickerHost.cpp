#include "ColourPickerHost.h"

#include <QVariant>
#include <QWidget>

#include "ClassId.h"
#include "ClsLogging.h"
#include "ObjectCreator.h"
#include "OleControl.h"
#include "SharedObjects.h"
#include "TintoraIds.h"

ColourPickerHost::ColourPickerHost(QWidget* dialog, int16_t position, const QString& owner,
                                   const FailureLine& failureLine)
    : QObject(dialog) {
    QString why;
    m_control = plat::ObjectCreator::CreateControl(plat::ClassId::FromString(tintora::kClsidCtrl),
                                                   dialog, &why);
    if (!m_control) {
        SharedObjects::Log().LogMsg(
            failureLine ? failureLine(why) : owner + ": colour picker not available (" + why + ")");
        return;
    }
    m_control->setObjectName("ColourPick");
    m_control->InitNew();
    m_control->PutProperty(tintora::disp::Position, QVariant::fromValue(position));
    m_sink.On(tintora::event::ColorClick, [this](const QVariantList& args) {
        emit ColorClick(args.value(0).toUInt(), args.value(1).toInt());
    });
    m_control->Advise(&m_sink);
}

ColourPickerHost::~ColourPickerHost() {
    // The control lives as long as its dialog, which may outlast this host.
    if (m_control) m_control->Unadvise(&m_sink);
}

bool ColourPickerHost::Show(uint32_t colour) {
    if (!m_control) return false;
    return m_control->PutProperty(tintora::disp::Color, QVariant::fromValue(colour)) &&
           m_control->CallMethod(tintora::disp::ShowColor);
}
