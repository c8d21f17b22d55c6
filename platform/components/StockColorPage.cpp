#include "StockColorPage.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>

#include "OleColor.h"
#include "OleControl.h"

namespace plat {

const ClassId StockColorPage::kClsid =
    ClassId::FromString("{4E2B9D71-0C3A-4F58-B6E1-7A9D3C2F1B84}");

namespace {

// Black, white and the fourteen colours of the classic sixteen-colour set, as values.
const uint32_t kStandardColors[16] = {0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080,
                                      0x808000, 0xC0C0C0, 0x808080, 0x0000FF, 0x00FF00, 0x00FFFF,
                                      0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};

QString hexText(uint32_t value) { return QString("&H%1").arg(value, 8, 16, QChar('0')).toUpper(); }

void paintSwatch(QWidget* w, uint32_t value) {
    w->setStyleSheet("background-color: " + OleColor::Translate(value).name() +
                     "; border: 1px solid black;");
}

}  // namespace

StockColorPage::StockColorPage(QWidget* parent)
    : PropertyPage(parent),
      m_property(new QComboBox(this)),
      m_value(new QLineEdit(this)),
      m_swatch(new QLabel(this)) {
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel("Property :", this), 0, 0);
    grid->addWidget(m_property, 0, 1, 1, 8);
    for (int i = 0; i < 16; ++i) {
        auto* b = new QPushButton(this);
        b->setFixedSize(20, 20);
        paintSwatch(b, kStandardColors[i]);
        const uint32_t value = kStandardColors[i];
        connect(b, &QPushButton::clicked, this, [this, value] { choose(value, true); });
        grid->addWidget(b, 1 + i / 8, 1 + i % 8);
    }
    grid->addWidget(new QLabel("Value :", this), 3, 0);
    grid->addWidget(m_value, 3, 1, 1, 6);
    m_swatch->setFixedSize(20, 20);
    grid->addWidget(m_swatch, 3, 8);
    connect(m_property, &QComboBox::currentIndexChanged, this, &StockColorPage::showEntry);
    connect(m_value, &QLineEdit::textEdited, this, [this](const QString& text) {
        uint32_t v = 0;
        if (ParseColor(text, v)) choose(v, false);
    });
}

bool StockColorPage::ParseColor(const QString& text, uint32_t& value) {
    static const QRegularExpression form("^(?:&[Hh]|0[xX])?([0-9A-Fa-f]{1,8})$");
    const QRegularExpressionMatch m = form.match(text.trimmed());
    if (!m.hasMatch()) return false;
    value = m.captured(1).toUInt(nullptr, 16);
    return true;
}

uint32_t StockColorPage::pendingValue(int index) const {
    return index >= 0 && index < static_cast<int>(m_entries.size()) ? m_entries[index].value : 0;
}

void StockColorPage::DoDataExchange(PageExchange& dx) {
    if (dx.IsSaving() || !Object()) return;
    m_entries.clear();
    m_property->blockSignals(true);
    m_property->clear();
    for (const DispMember& m : Object()->Dispatch().Members()) {
        if (m.isMethod || m.type != VarType::Color) continue;
        QVariant v;
        Object()->GetProperty(m.id, v);
        m_entries.push_back({m.id, v.toUInt(), false});
        m_property->addItem(m.name);
    }
    m_property->blockSignals(false);
    showEntry(m_property->currentIndex());
}

bool StockColorPage::Apply() {
    if (!Object()) return false;
    uint32_t typed = 0;
    if (!ParseColor(m_value->text(), typed) && m_property->currentIndex() >= 0) {
        SetError("Enter a colour value in hexadecimal, as &H00C0C0C0.");
        m_value->setFocus();
        return false;
    }
    bool ok = true;
    for (Entry& e : m_entries) {
        if (!e.changed) continue;
        ok = Object()->PutProperty(e.id, QVariant::fromValue(e.value)) && ok;
        e.changed = false;
    }
    SetObject(Object());
    return ok;
}

void StockColorPage::showEntry(int index) {
    if (index < 0 || index >= static_cast<int>(m_entries.size())) return;
    m_value->setText(hexText(m_entries[index].value));
    paintSwatch(m_swatch, m_entries[index].value);
}

void StockColorPage::choose(uint32_t value, bool showText) {
    const int index = m_property->currentIndex();
    if (index < 0 || index >= static_cast<int>(m_entries.size())) return;
    m_entries[index].value = value;
    m_entries[index].changed = true;
    if (showText) m_value->setText(hexText(value));
    paintSwatch(m_swatch, value);
    SetDirty();
}

}  // namespace plat
