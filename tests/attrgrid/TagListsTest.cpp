#include <gtest/gtest.h>

#include <QComboBox>
#include <QFile>
#include <QTemporaryDir>

#include "shell/FileOpener.h"
#include "shell/TagLists.h"
#include "support/FakePorts.h"
#include "widgets/SortedComboBox.h"

namespace kalvex {
namespace {

class RecordingOpener : public FileOpener {
public:
    QStringList opened;
    void open(const QString& path) override { opened << path; }
};

class TagListsTest : public ::testing::Test {
protected:
    void write(const QByteArray& bytes) {
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes);
    }

    QByteArray read() {
        QFile in(path);
        EXPECT_TRUE(in.open(QIODevice::ReadOnly));
        return in.readAll();
    }

    QStringList entries() const {
        QStringList items;
        for (int i = 0; i < box.count(); ++i)
            items << box.itemText(i);
        return items;
    }

    QTemporaryDir dir;
    QString path = dir.filePath(kTagSetListFile);
    SortedComboBox box;
    testing::FakeMessagePort messages;
};

TEST_F(TagListsTest, StartKeepsBlankLinesAndReloadDropsThem) {
    box.addItems({"built-in"});
    write("b,X\r\n\r\n  \r\na,Y\r\n");
    ASSERT_EQ(loadTagList(box, path), TextEncoding::Utf8);
    EXPECT_EQ(entries(), (QStringList{"", "  ", "a,Y", "b,X"}));
    box.setCurrentIndex(3);
    reloadTagList(box, path, messages);
    EXPECT_EQ(entries(), (QStringList{"a,Y", "b,X"}));
    EXPECT_EQ(box.currentIndex(), 0);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(TagListsTest, ReloadKeepsTheIndexThatStillExists) {
    write("a\r\nb\r\nc\r\n");
    loadTagList(box, path);
    box.setCurrentIndex(1);
    write("x\r\ny\r\n");
    reloadTagList(box, path, messages);
    EXPECT_EQ(box.currentIndex(), 1);
    EXPECT_EQ(box.currentText(), "y");
}

TEST_F(TagListsTest, MissingFileLeavesTheBoxAndIsReported) {
    box.addItems({"built-in"});
    EXPECT_FALSE(loadTagList(box, path).has_value());
    reloadTagList(box, path, messages);
    EXPECT_EQ(entries(), QStringList{"built-in"});
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, path + "\nが、見つかりません．");
    RecordingOpener opener;
    editTagList(path, opener, messages);
    EXPECT_TRUE(opener.opened.isEmpty());
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[1].text, path + "\nファイルが見つかりません．");
    EXPECT_EQ(messages.shown[1].icon, MessageIcon::Information);
    write("a\r\n");
    editTagList(path, opener, messages);
    EXPECT_EQ(opener.opened, QStringList{path});
}

TEST_F(TagListsTest, SavingWritesTheEntriesInTheEncodingTheyWereReadIn) {
    write("\xff\xfe" + QByteArray("N\0A\0M\0E\0\r\0\n\0", 12));
    const std::optional<TextEncoding> encoding = loadTagList(box, path);
    ASSERT_EQ(encoding, TextEncoding::Utf16LE);
    box.addItem(QStringLiteral("線番"));
    saveTagList(box, path, encoding, messages);
    EXPECT_EQ(read(), encodeText(QStringLiteral("NAME\r\n線番\r\n"), TextEncoding::Utf16LE));
}

TEST_F(TagListsTest, UnwritableFileIsReportedByName) {
    write("a\r\n");
    QFile::setPermissions(path, QFileDevice::ReadOwner);
    box.addItem("b");
    saveTagList(box, path, std::nullopt, messages);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].text.startsWith(path));
    EXPECT_EQ(read(), "a\r\n");
}

} // namespace
} // namespace kalvex
