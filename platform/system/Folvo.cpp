#include "Folvo.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QWidget>

#include "ModalHook.h"

namespace plat {
namespace {
FolvoHook& hook() {
    static FolvoHook h;
    return h;
}
}  // namespace

void SetFolvoHook(FolvoHook h) { hook() = std::move(h); }

Folvo::Folvo(QWidget* parent) : QObject(parent), m_parent(parent) {}

QStringList Folvo::NameFilters(const QString& filter) {
    const QStringList parts = filter.split('|');
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        // The description usually names the pattern already: "Database Files (*.mdb)".
        const qsizetype open = description.lastIndexOf('(');
        if (open > 0 && description.endsWith(')')) description = description.left(open).trimmed();
        QString patterns = parts[i + 1].trimmed();
        patterns.replace(';', ' ');
        out << description + " (" + patterns + ")";
    }
    return out;
}

bool Folvo::show() {
    QString chosen;
    if (hook()) {
        chosen = hook()(*this);
    } else {
        QFileDialog dialog(m_parent, m_title);
        dialog.setNameFilters(NameFilters(m_filter));
        dialog.setAcceptMode(m_saveDialog ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog.setFileMode(m_multiSelect     ? QFileDialog::ExistingFiles
                           : m_fileMustExist ? QFileDialog::ExistingFile
                                             : QFileDialog::AnyFile);
        const QFileInfo start(m_initialFile);
        if (!m_initialFile.isEmpty()) {
            dialog.setDirectory(start.absolutePath());
            dialog.selectFile(start.fileName());
        }
        if (ModalHook::Exec(dialog) == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            chosen = dialog.selectedFiles().constFirst();
    }
    if (chosen.isEmpty()) return false;
    m_fileName = QFileInfo(chosen).absoluteFilePath();
    emit OK();
    return true;
}

}  // namespace plat
