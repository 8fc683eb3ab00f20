#include "qtplatform/QtFileDialogPort.h"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QLocale>
#include <QTimer>
#include <QTreeView>

namespace kalvex {

namespace {

constexpr QSize kDialogSize(760, 460);
constexpr int kDateColumn = 3;

// The file list as the dialog's model gives it, but with the dates written the Japanese way:
// the model writes them in the system's locale, which the program cannot choose.
class JapaneseDates : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || index.column() != kDateColumn)
            return QIdentityProxyModel::data(index, role);
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (!files)
            return QIdentityProxyModel::data(index, role);
        return QLocale(QLocale::Japanese, QLocale::Japan)
            .toString(files->lastModified(mapToSource(index)), QLocale::ShortFormat);
    }
};

// Sizes the detail list's columns to what they show each time the listing changes (a folder
// loads in the background), instead of the dialog's fixed widths, which cut sizes and types.
void fitColumnsToContents(QFileDialog& dialog) {
    auto* view = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    if (!view || !view->model())
        return;
    auto* pending = new QTimer(&dialog);
    pending->setSingleShot(true);
    pending->setInterval(0);
    QObject::connect(pending, &QTimer::timeout, view,
                     [view] { view->header()->resizeSections(QHeaderView::ResizeToContents); });
    QAbstractItemModel* model = view->model();
    const auto refit = [pending] { pending->start(); };
    QObject::connect(model, &QAbstractItemModel::rowsInserted, pending, refit);
    QObject::connect(model, &QAbstractItemModel::dataChanged, pending, refit);
    QObject::connect(model, &QAbstractItemModel::layoutChanged, pending, refit);
    QObject::connect(&dialog, &QFileDialog::directoryEntered, pending, refit);
    pending->start();
}

QStringList runDialog(QFileDialog& dialog) {
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    // Above the always-on-top tool, which would otherwise hide its buttons.
    dialog.setWindowFlag(Qt::WindowStaysOnTopHint);
    dialog.setProxyModel(new JapaneseDates(&dialog));
    dialog.resize(kDialogSize);
    fitColumnsToContents(dialog);
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
