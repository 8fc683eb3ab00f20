#include <functional>

#include <QApplication>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <gtest/gtest.h>

#include "qtplatform/QtFileDialogPort.h"

namespace kalvex::testing {

namespace {

constexpr int kWaitMilliseconds = 5000;

// Waits until the condition holds, letting the dialog load its folder meanwhile.
bool waitUntil(const std::function<bool()>& condition) {
    QElapsedTimer timer;
    timer.start();
    while (!condition() && timer.elapsed() < kWaitMilliseconds)
        QTest::qWait(20);
    return condition();
}

QModelIndex rowOf(const QTreeView& view, const QString& name) {
    const QAbstractItemModel* model = view.model();
    const QModelIndex root = view.rootIndex();
    for (int row = 0; row < model->rowCount(root); ++row) {
        const QModelIndex index = model->index(row, 0, root);
        if (index.data().toString() == name)
            return index;
    }
    return {};
}

// A folder with a few drawings, one with a long name, and the dialog driven once it is up.
class FileDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"flange.dxf", "plant2.dxf", "a-rather-long-drawing-name.dxf"}) {
            QFile file(folder.filePath(QString::fromLatin1(name)));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(QByteArray(100000, ' '));
        }
    }

    QStringList openWith(std::function<void(QFileDialog&, QTreeView&)> actions) {
        QTimer::singleShot(0, [actions] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            auto* view = dialog->findChild<QTreeView*>(QStringLiteral("treeView"));
            ASSERT_NE(view, nullptr);
            const bool loaded =
                waitUntil([view] { return rowOf(*view, QStringLiteral("plant2.dxf")).isValid(); });
            if (!loaded)
                dialog->reject();
            ASSERT_TRUE(loaded);
            QTest::qWait(50);
            actions(*dialog, *view);
            if (dialog->isVisible())
                dialog->reject();
        });
        return port.askOpenFiles(nullptr, QStringLiteral("図面を開く"), folder.path(),
                                 QStringLiteral("DXF (*.dxf)"));
    }

    void click(QTreeView& view, const QString& name, Qt::KeyboardModifiers modifiers) {
        const QRect cell = view.visualRect(rowOf(view, name));
        QTest::mouseClick(view.viewport(), Qt::LeftButton, modifiers, cell.center());
    }

    QTemporaryDir folder;
    QtFileDialogPort port;
};

} // namespace

// Two files chosen by the mouse, the second with Ctrl held, and the Open button pressed.
TEST_F(FileDialogTest, TwoFilesSelectedByTheMouseAreBothOpened) {
    const QStringList chosen = openWith([this](QFileDialog& dialog, QTreeView& view) {
        click(view, QStringLiteral("flange.dxf"), Qt::NoModifier);
        click(view, QStringLiteral("plant2.dxf"), Qt::ControlModifier);
        auto* buttons = dialog.findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
        ASSERT_NE(buttons, nullptr);
        QPushButton* open = buttons->button(QDialogButtonBox::Open);
        ASSERT_NE(open, nullptr);
        EXPECT_TRUE(open->isEnabled());
        QTest::mouseClick(open, Qt::LeftButton);
    });
    EXPECT_EQ(chosen, (QStringList{folder.filePath(QStringLiteral("flange.dxf")),
                                   folder.filePath(QStringLiteral("plant2.dxf"))}));
}

// Every column is as wide as its contents, and the dates read in the Japanese way.
TEST_F(FileDialogTest, ColumnsFitTheirContentsAndDatesAreJapanese) {
    openWith([](QFileDialog&, QTreeView& view) {
        const QModelIndex first = rowOf(view, QStringLiteral("a-rather-long-drawing-name.dxf"));
        for (int column = 0; column < view.model()->columnCount(view.rootIndex()); ++column) {
            const QModelIndex cell = first.siblingAtColumn(column);
            const int needed = view.sizeHintForIndex(cell).width();
            EXPECT_GE(view.header()->sectionSize(column), needed)
                << column << " " << cell.data().toString().toStdString();
        }
        const QString date = first.siblingAtColumn(3).data().toString();
        EXPECT_TRUE(date.startsWith(QString::number(QDate::currentDate().year()) + u'/'))
            << date.toStdString();
    });
}

} // namespace kalvex::testing
