#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QTemporaryDir>

#include "cadlink/Text.h"
#include "drawing/dxf/DxfFile.h"
#include "drawingwindow/DrawingWindow.h"
#include "kit/DrawingBuilder.h"
#include "support/FakePorts.h"

namespace kalvex::drawing {
namespace {

std::string textOf(const std::shared_ptr<CadModel>& model, const std::string& handle) {
    return cad::entityAs<cad::Text>(model->application()->ActiveDocument()->HandleToObject(handle))
        ->TextString();
}

void setText(const std::shared_ptr<CadModel>& model, const std::string& handle,
             const std::string& text) {
    cad::entityAs<cad::Text>(model->application()->ActiveDocument()->HandleToObject(handle))
        ->SetTextString(text);
}

void processEventsFor(int milliseconds) {
    const QDeadlineTimer deadline(milliseconds);
    while (!deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

// The drawing window on a file of one TEXT, which another program may change behind it.
class DrawingFileTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("panel.dxf"));
    testing::FakeMessagePort messages;
    DrawingWindow window{messages, QStringLiteral("CAD")};
    std::string handle;

    void SetUp() override {
        DrawingBuilder b;
        handle = b.text({.text = "P-101", .insertion = {0, 0, 0}, .height = 5});
        saveDxf(*b.drawing(), path.toStdString());
        ASSERT_TRUE(window.openFile(path));
        setText(window.model(), handle, "P-201"); // the user's change here
    }

    // Another program loads the file, changes the TEXT and saves by renaming over it.
    void otherProgramWrites(const std::string& text) {
        const auto other = CadModel::create(loadDxf(path.toStdString()));
        setText(other, handle, text);
        saveDxf(other->drawing(), path.toStdString());
    }

    std::string onDisk() { return textOf(CadModel::create(loadDxf(path.toStdString())), handle); }
};

TEST_F(DrawingFileTest, SavingOverAFileNobodyElseChangedAsksNothing) {
    EXPECT_EQ(window.saveCurrent(), DrawingWindow::SaveResult::Saved);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(onDisk(), "P-201");
    // Written with the same bytes again, the file counts as unchanged.
    saveDxf(window.model()->drawing(), path.toStdString());
    setText(window.model(), handle, "P-301");
    EXPECT_EQ(window.saveCurrent(), DrawingWindow::SaveResult::Saved);
    EXPECT_TRUE(messages.shown.empty());
}

// Each answer to the question: the file and the window afterwards.
TEST_F(DrawingFileTest, OverwritingAFileAnotherProgramChangedAsksFirst) {
    struct Case {
        MessageAnswer answer;
        DrawingWindow::SaveResult result;
        const char* fileAfter;
        const char* windowAfter;
        bool modifiedAfter;
    };
    const Case cases[] = {
        {MessageAnswer::Overwrite, DrawingWindow::SaveResult::Saved, "P-201", "P-201", false},
        {MessageAnswer::Reload, DrawingWindow::SaveResult::Cancelled, "P-999", "P-999", false},
        {MessageAnswer::Cancel, DrawingWindow::SaveResult::Cancelled, "P-999", "P-201", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.answer));
        messages.answers = {MessageAnswer::No}; // the change of the last round is dropped
        ASSERT_TRUE(window.closeTab(0));
        SetUp();
        messages.shown.clear();
        otherProgramWrites("P-999");
        messages.answers = {c.answer};
        EXPECT_EQ(window.saveCurrent(), c.result);
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].buttons, MessageButtons::OverwriteReloadCancel);
        EXPECT_TRUE(messages.shown[0].text.contains(QStringLiteral("panel.dxf")));
        EXPECT_EQ(onDisk(), c.fileAfter);
        EXPECT_EQ(textOf(window.model(), handle), c.windowAfter);
        EXPECT_EQ(window.isModified(), c.modifiedAfter);
    }
}

TEST_F(DrawingFileTest, ClosingWithChangesAsksAgainWhenTheFileChanged) {
    otherProgramWrites("P-999");
    messages.answers = {MessageAnswer::Yes, MessageAnswer::Cancel};
    EXPECT_FALSE(window.close());
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[1].buttons, MessageButtons::OverwriteReloadCancel);
    EXPECT_EQ(onDisk(), "P-999");
}

TEST_F(DrawingFileTest, TheWatcherTellsOnceWhenAnotherProgramWritesTheFile) {
    otherProgramWrites("P-999");
    const QDeadlineTimer deadline(10000);
    while (messages.shown.empty() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    processEventsFor(200); // a second event of the same write tells nothing more
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].text.contains(QStringLiteral("panel.dxf")));
    // The window's own save is not another program's.
    messages.answers = {MessageAnswer::Overwrite};
    EXPECT_EQ(window.saveCurrent(), DrawingWindow::SaveResult::Saved);
    processEventsFor(500);
    EXPECT_EQ(messages.shown.size(), 2u); // the notice and the question, nothing after them
}

// A program that writes the file in place, in two pieces a moment apart, makes one change.
TEST_F(DrawingFileTest, AFileWrittenInPiecesIsToldOnce) {
    const QString other = dir.filePath(QStringLiteral("other.dxf"));
    const auto model = CadModel::create(loadDxf(path.toStdString()));
    setText(model, handle, "P-999");
    saveDxf(model->drawing(), other.toStdString());
    QFile source(other);
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    const QByteArray bytes = source.readAll();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes.left(bytes.size() / 2));
    file.flush();
    processEventsFor(60);
    file.write(bytes.mid(bytes.size() / 2));
    file.close();
    const QDeadlineTimer deadline(10000);
    while (messages.shown.empty() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    processEventsFor(500);
    EXPECT_EQ(messages.shown.size(), 1u);
}

// SetUp's change is one undo step after the drawing was loaded.
TEST_F(DrawingFileTest, UndoingBackToTheSavedDrawingClearsTheUnsavedMark) {
    ASSERT_TRUE(window.isModified());
    window.undo();
    EXPECT_FALSE(window.isModified());
    EXPECT_FALSE(window.windowTitle().contains(QStringLiteral("*")));
    window.redo();
    EXPECT_TRUE(window.isModified());
    ASSERT_EQ(window.saveCurrent(), DrawingWindow::SaveResult::Saved);
    window.undo();
    EXPECT_TRUE(window.isModified()) << "the drawing is back before what was saved";
    window.redo();
    EXPECT_FALSE(window.isModified());
    // A new change after an undo drops the step that led to the saved drawing.
    window.undo();
    setText(window.model(), handle, "P-777");
    window.undo();
    EXPECT_TRUE(window.isModified()) << "P-101 is not what the file holds";
}

// The drawing read again is still the one the tool's records name, and its view stays.
TEST_F(DrawingFileTest, AReloadKeepsTheDrawingsKeyAndView) {
    const std::string key = window.model()->key();
    window.model()->view().setCenter(1234.0, -56.0);
    otherProgramWrites("P-999");
    messages.answers = {MessageAnswer::Reload};
    EXPECT_EQ(window.saveCurrent(), DrawingWindow::SaveResult::Cancelled);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].text.contains(QStringLiteral("保存していない変更")))
        << "the question says that a reload drops the unsaved change";
    EXPECT_EQ(textOf(window.model(), handle), "P-999");
    EXPECT_EQ(window.model()->key(), key);
    EXPECT_EQ(window.model()->view().centerX(), 1234.0);
    EXPECT_EQ(window.model()->view().centerY(), -56.0);
    EXPECT_FALSE(window.isModified());
}

} // namespace
} // namespace kalvex::drawing
