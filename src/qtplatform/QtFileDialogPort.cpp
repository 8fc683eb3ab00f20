#include "qtplatform/QtFileDialogPort.h"

#include <QFileDialog>

namespace kalvex {

namespace {

constexpr QSize kDialogSize(760, 460);

QStringList runDialog(QFileDialog& dialog) {
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.resize(kDialogSize);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles() : QStringList();
}

} // namespace

QStringList QtFileDialogPort::askOpenFiles(QWidget* parent, const QString& caption,
                                           const QString& folder, const QString& filter) {
    QFileDialog dialog(parent, caption, folder, filter);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    return runDialog(dialog);
}

QString QtFileDialogPort::askSaveFile(QWidget* parent, const QString& caption, const QString& file,
                                      const QString& filter) {
    QFileDialog dialog(parent, caption, file, filter);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    const QStringList chosen = runDialog(dialog);
    return chosen.isEmpty() ? QString() : chosen.front();
}

} // namespace kalvex
