#include <gtest/gtest.h>

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <memory>
#include <set>

#include "DxfTestSupport.h"
#include "cadlink/Application.h"
#include "cadlink/AttributeReference.h"
#include "cadlink/BlockReference.h"
#include "cadlink/Text.h"
#include "drawing/cad/CadModel.h"
#include "drawing/dxf/DxfFile.h"

namespace kalvex::drawing {
namespace {

using test::modelSpace;
using test::readBytes;

// Drawings written by ezdxf with the quirks other writers' files have, made once for the
// suite by tests/corpus/make_corpus.py; corpus.json says what each holds.
class OwnCorpus : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_dir = std::make_unique<QTemporaryDir>();
        QProcess python;
        python.start(
            QStringLiteral(KALVEX_PYTHON),
            {QStringLiteral(KALVEX_SOURCE_DIR "/tests/corpus/make_corpus.py"), s_dir->path()});
        const bool ran = python.waitForFinished(120000) && python.exitCode() == 0;
        s_error = ran ? QString() : QString::fromLocal8Bit(python.readAllStandardError());
        QFile manifest(s_dir->filePath(QStringLiteral("corpus.json")));
        if (ran && manifest.open(QIODevice::ReadOnly))
            s_manifest = QJsonDocument::fromJson(manifest.readAll()).object();
    }
    static void TearDownTestSuite() { s_dir.reset(); }

    void SetUp() override {
        ASSERT_FALSE(s_manifest.isEmpty()) << "ezdxf wrote no corpus: " << s_error.toStdString();
    }

    static std::string path(const QString& name) { return s_dir->filePath(name).toStdString(); }
    static std::shared_ptr<CadModel> open(const QString& name) {
        return CadModel::create(loadDxf(path(name)));
    }

    static std::unique_ptr<QTemporaryDir> s_dir;
    static QJsonObject s_manifest;
    static QString s_error;
};

std::unique_ptr<QTemporaryDir> OwnCorpus::s_dir;
QJsonObject OwnCorpus::s_manifest;
QString OwnCorpus::s_error;

std::string textOf(const cad::EntityPtr& entity) {
    if (auto text = std::dynamic_pointer_cast<cad::Text>(entity))
        return text->TextString();
    return cad::entityAs<cad::AttributeReference>(entity)->TextString();
}

TEST_F(OwnCorpus, EveryAsciiDrawingRoundTripsByteForByte) {
    EXPECT_GE(s_manifest.size(), 11);
    for (auto it = s_manifest.begin(); it != s_manifest.end(); ++it) {
        SCOPED_TRACE(it.key().toStdString());
        std::shared_ptr<Drawing> drawing;
        ASSERT_NO_THROW(drawing = loadDxf(path(it.key())));
        const std::string original = readBytes(path(it.key()));
        const bool gainsEof = it.value().toObject()["roundtrip"].toString() == "gains_eof";
        EXPECT_TRUE(drawing->serialize() == (gainsEof ? original + "  0\nEOF\n" : original))
            << "saved " << drawing->serialize().size() << " bytes of " << original.size();
    }
}

TEST_F(OwnCorpus, TheBinaryDrawingIsRefusedWithAClearMessage) {
    const std::string binary = path(QStringLiteral("binary.dxf"));
    try {
        loadDxf(binary);
        FAIL() << "a binary DXF was read";
    } catch (const dxf::DxfError& error) {
        EXPECT_NE(std::string(error.what()).find("binary DXF"), std::string::npos) << error.what();
        EXPECT_EQ(std::string(error.what()).rfind(binary, 0), 0u) << error.what();
    }
}

TEST_F(OwnCorpus, ModelSpaceHoldsWhatTheWriterPutThere) {
    for (auto it = s_manifest.begin(); it != s_manifest.end(); ++it) {
        SCOPED_TRACE(it.key().toStdString());
        const QJsonObject expected = it.value().toObject();
        auto document = open(it.key())->application()->ActiveDocument();
        EXPECT_EQ(modelSpace(*document, "TEXT").size(), expected["texts"].toInteger());
        const auto inserts = modelSpace(*document, "INSERT");
        EXPECT_EQ(inserts.size(), expected["inserts"].toInteger());
        qint64 attributes = 0;
        for (const auto& insert : inserts)
            attributes += cad::entityAs<cad::BlockReference>(insert)->GetAttributes().size();
        EXPECT_EQ(attributes, expected["attributes"].toInteger());
        std::string locked;
        auto layers = document->GetLayers();
        for (int i = 0; i < layers->Count(); ++i)
            if (layers->Item(i)->Lock())
                locked += layers->Item(i)->Name();
        EXPECT_EQ(locked, expected["locked"].toString().toStdString());
    }
}

// Japanese in \U+ escapes, raw UTF-8 holding the byte 0x85, raw cp1252 and cp850 bytes without
// or with a code page, codes out of order, an attribute's text in its embedded MTEXT, and the
// alignment codes of TEXTs.
TEST_F(OwnCorpus, StringsAndAlignmentsReadAsWritten) {
    for (auto it = s_manifest.begin(); it != s_manifest.end(); ++it) {
        SCOPED_TRACE(it.key().toStdString());
        const QJsonObject expected = it.value().toObject();
        auto document = open(it.key())->application()->ActiveDocument();
        const QJsonObject strings = expected["strings"].toObject();
        for (auto s = strings.begin(); s != strings.end(); ++s)
            EXPECT_EQ(textOf(document->HandleToObject(s.key().toStdString())),
                      s.value().toString().toStdString())
                << s.key().toStdString();
        const QJsonObject alignments = expected["alignments"].toObject();
        for (auto a = alignments.begin(); a != alignments.end(); ++a)
            EXPECT_EQ(cad::entityAs<cad::Text>(document->HandleToObject(a.key().toStdString()))
                          ->Alignment(),
                      a.value().toInt())
                << a.key().toStdString();
    }
}

TEST_F(OwnCorpus, MessyFilesReadAsTheyShould) {
    const auto duplicates = loadDxf(path(QStringLiteral("duplicate_handles.dxf")));
    ASSERT_FALSE(duplicates->warnings().empty());
    EXPECT_NE(duplicates->warnings().front().find("duplicate handle"), std::string::npos);

    // Entities with empty handles are found again by the handles they get in memory.
    auto empty = open(QStringLiteral("empty_handles.dxf"))->application()->ActiveDocument();
    std::set<std::string> handles;
    for (const auto& entity : modelSpace(*empty, "*")) {
        handles.insert(entity->Handle());
        EXPECT_EQ(empty->HandleToObject(entity->Handle())->ObjectID(), entity->ObjectID());
    }
    EXPECT_EQ(handles.size(), 4u);

    // A new text for the attribute with an embedded MTEXT is what a second reading finds.
    const auto mtext = open(QStringLiteral("attrib_mtext.dxf"));
    const QJsonObject strings = s_manifest["attrib_mtext.dxf"].toObject()["strings"].toObject();
    std::string memo;
    for (auto s = strings.begin(); s != strings.end(); ++s)
        if (s.value().toString() == QStringLiteral("複数行の属性"))
            memo = s.key().toStdString();
    ASSERT_FALSE(memo.empty());
    cad::entityAs<cad::AttributeReference>(
        mtext->application()->ActiveDocument()->HandleToObject(memo))
        ->SetTextString("書き換え");
    auto reread = CadModel::create(parseDxf(mtext->drawing().serialize(), "again.dxf"));
    EXPECT_EQ(textOf(reread->application()->ActiveDocument()->HandleToObject(memo)), "書き換え");
}

} // namespace
} // namespace kalvex::drawing
