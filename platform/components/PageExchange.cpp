#include "PageExchange.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include "OleControl.h"

namespace plat {

int PageExchange::load(const QString& property) const {
    QVariant v;
    if (!m_control.GetProperty(m_control.IdOfName(property), v)) return 0;
    return v.metaType().id() == QMetaType::Bool ? (v.toBool() ? 1 : 0) : v.toInt();
}

void PageExchange::collect(const QString& property, int value) {
    m_pending.emplace_back(m_control.IdOfName(property), value);
}

void PageExchange::Check(QCheckBox* box, const QString& property, int& member) {
    if (!m_saving) {
        member = load(property);
        box->setChecked(member != 0);
        return;
    }
    member = box->isChecked() ? 1 : 0;
    collect(property, member);
}

void PageExchange::ComboIndex(QComboBox* combo, const QString& property, int& member) {
    if (!m_saving) {
        member = load(property);
        combo->setCurrentIndex(member);
        return;
    }
    member = combo->currentIndex();
    collect(property, member);
}

void PageExchange::Number(QLineEdit* edit, const QString& property, int& member, int minimum,
                          int maximum) {
    if (!m_saving) {
        member = load(property);
        edit->setText(QString::number(member));
        return;
    }
    if (m_failedItem) return;
    bool ok = false;
    const int value = edit->text().trimmed().toInt(&ok);
    if (!ok || value < minimum || value > maximum) {
        m_failedItem = edit;
        m_error = QString("Enter a whole number from %1 to %2.").arg(minimum).arg(maximum);
        return;
    }
    member = value;
    collect(property, member);
}

bool PageExchange::Commit() {
    if (!m_saving || m_failedItem) return false;
    bool all = true;
    for (const auto& [id, value] : m_pending) {
        const DispMember* m = m_control.Dispatch().Find(id);
        const QVariant v = m && m->type == VarType::Bool ? QVariant(value != 0) : QVariant(value);
        all = m_control.PutProperty(id, v) && all;
    }
    return all;
}

}  // namespace plat
