#include "DlgSetOptions.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSignalBlocker>
#include <optional>

#include "AppInfo.h"
#include "ClsIni.h"
#include "ClsLogging.h"
#include "MsgBox.h"
#include "SharedObjects.h"

namespace {
constexpr int kTw = 15;  // twips to a pixel
QRect twips(int left, int top, int width, int height) {
    return {left / kTw, top / kTw, width / kTw, height / kTw};
}

// The settings file the main program of this folder reads its switch from.
constexpr const char* kMainSettings = "/RostimaShr.ini";

// A plain decimal number, blanks around it allowed: words such as "nan" or "inf", which
// the text-to-number conversion would take, are no number here.
bool plainNumber(const QString& text, double& value) {
    static const QRegularExpression form(
        R"(^\s*[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?\s*$)");
    bool ok = false;
    if (form.match(text).hasMatch()) value = text.trimmed().toDouble(&ok);
    return ok;
}
}  // namespace

DlgSetOptions::DlgSetOptions(QWidget* parent) : QWidget(parent) {
    setObjectName("DlgSetOptions");
    setWindowTitle("Rostima");
    setFixedSize(3060 / kTw, 3480 / kTw);
    Image1 = new QLabel(this);
    Image1->setGeometry(twips(360, 120, 2310, 1260));
    Image1->setAlignment(Qt::AlignCenter);
    Image1->setPixmap(Logo());
    Check1 = new QCheckBox("Workstation is read-only", this);
    Check1->setObjectName("Check1");
    Check1->setGeometry(twips(240, 1560, 2535, 255));
    Label1 = new QLabel(
        "Check the above checkbox if this workstation is to have read-only access to the "
        "Rostima database",
        this);
    Label1->setWordWrap(true);
    Label1->setGeometry(twips(240, 2040, 2655, 615));
    BtnMain = new QPushButton("E&xit", this);
    BtnMain->setObjectName("BtnMain");
    BtnMain->setGeometry(twips(240, 2880, 2655, 495));
    // Our font is larger than the one the window was laid out for: the note takes the
    // lines it needs, and the button and the window move down by as much.
    const int grow = Label1->heightForWidth(Label1->width()) - Label1->height();
    if (grow > 0) {
        Label1->resize(Label1->width(), Label1->height() + grow);
        BtnMain->move(BtnMain->x(), BtnMain->y() + grow);
        setFixedSize(width(), height() + grow);
    }
    setTabOrder(Check1, BtnMain);
    // Ticking from code counts as a click, as the load step relies on.
    connect(Check1, &QCheckBox::toggled, this, [this] { Check1_Click(); });
    connect(BtnMain, &QPushButton::clicked, this, [this] { BtnMain_Click(); });
}

DlgSetOptions::~DlgSetOptions() = default;

bool DlgSetOptions::Form_Load() {
    SharedObjects::Log().setHwnd(static_cast<int32_t>(winId() & 0xFFFFFFFF));
    OptionsIni = std::make_unique<ClsIni>();
    OptionsIni->setIniFile(plat::AppPath() + "/Rostima.ini");
    // Read as the default, the switch would show off whatever the file holds.
    if (const std::optional<QString> unread = OptionsIni->ReadFailure()) {
        OptionsIni.reset();  // a click changes nothing either
        plat::MsgBox(*unread + "\nThe program ends; nothing was changed.",
                     plat::vbOKOnly | plat::vbExclamation, "Warning!");
        return false;
    }
    MainIni = std::make_unique<ClsIni>();
    MainIni->setIniFile(plat::AppPath() + kMainSettings);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QSize s = screen->geometry().size();
        move(s.width() / 2 - width() / 2, s.height() / 2 - height() / 2);
    }
    // A value that is no number leaves the box as it is and writes nothing; any other
    // number but 0 ticks the box, which writes "1" back.
    double value = 0;
    if (!plainNumber(OptionsIni->GetValue("Options", "IsReadOnly", "0"), value) || value == 0)
        return true;
    m_loading = true;
    Check1->setChecked(true);
    m_loading = false;
    return true;
}

void DlgSetOptions::Check1_Click() {
    if (!OptionsIni || !MainIni) return;
    const bool ticked = Check1->isChecked();
    if (const ClsIni::Written own =
            OptionsIni->WriteValue("Options", "IsReadOnly", ticked ? "1" : "0");
        own.Failed()) {
        // At load the file already holds a number other than 0, which reads as read-only:
        // the box shows that, even when the file cannot take the plain "1".
        if (!m_loading) refused(own);
        return;
    }
    // The main program of this folder reads the switch from its own settings file: the key
    // goes there too, so that its next start follows the box.
    const ClsIni::Written main = MainIni->WriteValue("Options", "IsReadOnly", ticked ? "1" : "0");
    if (!main.Failed()) return;
    // At load the box keeps showing what this program's file holds; on a click both files
    // go back to the value before, so they never tell different things. That write was
    // just taken: should it fail now, the settings class logs it, and the user is told of
    // the main program's file below.
    if (!m_loading)
        static_cast<void>(OptionsIni->WriteValue("Options", "IsReadOnly", ticked ? "0" : "1"));
    refused(main);
}

void DlgSetOptions::refused(const ClsIni::Written& why) {
    if (!m_loading) {
        const QSignalBlocker quiet(Check1);
        Check1->setChecked(!Check1->isChecked());
    }
    plat::MsgBox("Unable to save the setting: " + why.Text() + ".",
                 plat::vbOKOnly | plat::vbExclamation, "Warning!");
}

void DlgSetOptions::BtnMain_Click() { close(); }

void DlgSetOptions::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}

void DlgSetOptions::Form_Unload() {
    OptionsIni.reset();
    MainIni.reset();
}

QPixmap DlgSetOptions::Logo() {
    QPixmap logo(150, 80);
    logo.fill(Qt::transparent);
    QPainter p(&logo);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 70, 140), 3));
    p.setBrush(QColor(225, 236, 248));
    p.drawRoundedRect(QRectF(2, 2, 146, 76), 12, 12);
    // A clock face beside the name: the system books time.
    p.drawEllipse(QPointF(34, 40), 20, 20);
    p.drawLine(QPointF(34, 40), QPointF(34, 26));
    p.drawLine(QPointF(34, 40), QPointF(44, 46));
    QFont font = p.font();
    font.setBold(true);
    // The name keeps clear of the frame, in a smaller size where the font runs wide.
    for (int size = 22; size > 8; --size) {
        font.setPixelSize(size);
        if (QFontMetrics(font).horizontalAdvance("Rostima") <= 80) break;
    }
    p.setFont(font);
    p.drawText(QRectF(58, 2, 88, 76), Qt::AlignVCenter | Qt::AlignLeft, "Rostima");
    return logo;
}
