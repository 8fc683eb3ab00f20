#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <filesystem>
#include <gtest/gtest.h>
#include <iostream>
#include <map>

#include "drawing/dxf/DxfFile.h"
#include "drawingwindow/SceneRender.h"

namespace kalvex::drawing {
namespace {

namespace fs = std::filesystem;

const QString kPython = QStringLiteral("/usr/bin/python3");
const QString kScripts = QStringLiteral(KALVEX_SOURCE_DIR "/tests/drawingwindow/render/");
const QSize kSize(800, 600);
constexpr int kPythonTimeout = 600000;

struct Figures {
    double referenceCovered = 0; // share of the reference's ink near ink of ours
    double oursCovered = 0;      // and the reverse
    QString note;                // set when the drawing could not be compared
};

// Drawings where the reference renderer is wrong, by name, and why.
const std::map<QString, const char*> kReferenceFaults = {
    {QStringLiteral("xline_ray.dxf"),
     "draws construction lines and rays as short segments of a fixed length"},
    {QStringLiteral("mtext_reference_faults.dxf"),
     "shows \\~ as written, breaks the ^ stacking of tolerances, has no CJK font"},
    {QStringLiteral("text_cjk.dxf"), "has no CJK font: Japanese text comes out as boxes"},
    {QStringLiteral("ezdxf__integration_tests__data__duplicate_handles.dxf"),
     "draws nothing for dimensions without a block: the extension and dimension lines of its "
     "seven dimensions are ours alone (their texts lie in separate entities both draw)"},
    {QStringLiteral("tolerance_leader.dxf"),
     "does not draw TOLERANCE (the frames are checked in DimensionShapesTest and by eye)"},
    {QStringLiteral("image.dxf"),
     "draws nothing of an IMAGE; ours, checked by eye: the picture beside the drawing in its "
     "frame, turned and clipped to a quadrilateral, and the frame of a missing file with its "
     "name"},
    {QStringLiteral("mtext_wrapping_cjk.dxf"),
     "has no CJK font; the blanks at the breaks are checked in MtextFlow instead"},
};

// Drawings held to a lower bound than the others, and why.
const std::map<QString, std::pair<double, const char*>> kLowerBounds = {
    {QStringLiteral("dimension_blockless.peer.dxf"),
     {0.7, "our radius and diameter texts lie where their definition points say, the "
           "reference's blocks put them elsewhere along the leader, with a centre mark here"}},
};

// A drawing "NAME.dxf" beside a "NAME.peer.dxf" is compared with the reference's picture of
// the peer file: the same entities in a form the reference draws (dimensions with the blocks
// ezdxf made for them, multileaders exploded).
QString referenceFileOf(const QString& drawing) {
    const QString peer = drawing.chopped(4) + QStringLiteral(".peer.dxf");
    return QFileInfo::exists(peer) ? peer : drawing;
}

QString runPython(const QStringList& arguments) {
    QProcess process;
    process.setProgram(kPython);
    process.setArguments(arguments);
    process.start();
    process.waitForFinished(kPythonTimeout);
    return QString::fromUtf8(process.readAllStandardOutput());
}

bool referenceRendererInstalled() {
    return runPython(
               {QStringLiteral("-c"), QStringLiteral("import ezdxf, matplotlib; print('yes')")})
               .trimmed() == QLatin1String("yes");
}

// Renders ours at the extents the reference renderer measured, then lets the script render
// the reference at the same window and compare the ink.
std::map<QString, Figures> compare(const QStringList& drawings, const QTemporaryDir& work) {
    QString list;
    std::map<QString, QString> oursOf;
    QStringList references;
    for (const QString& drawing : drawings) {
        references << referenceFileOf(drawing);
        oursOf[references.back()] = drawing;
    }
    const QStringList extents =
        runPython(QStringList{kScripts + QStringLiteral("compare_rendering.py"),
                              QStringLiteral("extents")} +
                  references)
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    std::map<QString, Figures> figures;
    for (const QString& line : extents) {
        const QStringList parts = line.split(QLatin1Char(' '));
        const QString name = QFileInfo(parts[0]).fileName();
        if (parts.size() != 5) {
            figures[name].note = QStringLiteral("extents not measured by the reference");
            continue;
        }
        const QRectF window(QPointF(parts[1].toDouble(), parts[2].toDouble()),
                            QPointF(parts[3].toDouble(), parts[4].toDouble()));
        const QString ours = work.filePath(name + QStringLiteral(".png"));
        try {
            renderDrawing(*loadDxf(oursOf[parts[0]].toStdString()), {kSize, window}).save(ours);
        } catch (const std::exception& e) {
            figures[name].note = QString::fromUtf8(e.what());
        }
        list +=
            parts[0] + QLatin1Char(' ') + ours + QLatin1Char(' ') + parts.mid(1).join(' ') + '\n';
    }
    QFile listFile(work.filePath(QStringLiteral("list.txt")));
    listFile.open(QIODevice::WriteOnly);
    listFile.write(list.toUtf8());
    listFile.close();
    const QString size = QStringLiteral("%1x%2").arg(kSize.width()).arg(kSize.height());
    for (const QString& line : runPython({kScripts + QStringLiteral("compare_rendering.py"),
                                          QStringLiteral("compare"), size, listFile.fileName()})
                                   .split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList parts = line.split(QLatin1Char(' '));
        Figures& f = figures[parts[0]];
        if (parts.size() == 5) {
            f.referenceCovered = parts[1].toDouble();
            f.oursCovered = parts[2].toDouble();
        } else if (f.note.isEmpty()) {
            f.note = parts.mid(1).join(' ');
        }
    }
    return figures;
}

// Prints the figures and holds every compared drawing not excluded by name to the bound.
void expectCoverage(const std::map<QString, Figures>& figures, double bound) {
    for (const auto& [name, f] : figures) {
        const auto fault = kReferenceFaults.find(name);
        std::cout << qPrintable(name) << ": reference ink near ours " << f.referenceCovered
                  << ", our ink near the reference's " << f.oursCovered
                  << (f.note.isEmpty() ? "" : "  (" + f.note.toStdString() + ")")
                  << (fault != kReferenceFaults.end()
                          ? std::string("  excluded: the reference ") + fault->second
                          : std::string())
                  << "\n";
        if (fault != kReferenceFaults.end() || !f.note.isEmpty())
            continue;
        const auto lower = kLowerBounds.find(name);
        const double held = lower != kLowerBounds.end() ? lower->second.first : bound;
        EXPECT_GE(f.referenceCovered, held) << qPrintable(name);
        EXPECT_GE(f.oursCovered, held) << qPrintable(name);
    }
}

class RenderComparison : public ::testing::Test {
protected:
    void SetUp() override {
        if (!referenceRendererInstalled())
            GTEST_SKIP() << "ezdxf and matplotlib for /usr/bin/python3 are not installed "
                            "(python3-ezdxf, python3-matplotlib)";
        ASSERT_TRUE(work.isValid());
    }
    QTemporaryDir work;
};

// One drawing per kind, written by ezdxf: every kind is drawn where the reference draws it.
TEST_F(RenderComparison, DrawingsOfEveryKindMatchTheReference) {
    const QString corpus = work.filePath(QStringLiteral("corpus"));
    QDir().mkpath(corpus);
    runPython({kScripts + QStringLiteral("make_corpus.py"), corpus});
    QStringList drawings;
    for (const QString& name : QDir(corpus).entryList({QStringLiteral("*.dxf")}))
        if (!name.startsWith(QLatin1String("cycle_")) && !name.endsWith(QLatin1String(".peer.dxf")))
            drawings << corpus + QLatin1Char('/') + name;
    ASSERT_GE(drawings.size(), 18);
    const auto figures = compare(drawings, work);
    EXPECT_EQ(figures.size(), static_cast<std::size_t>(drawings.size()));
    expectCoverage(figures, 0.75);
}

// Real drawings from other programs: a lower bound, as entities that carry only proxy
// graphics (tables, multileaders, tolerances) are not drawn here, and text smaller than four
// pixels shows as its baseline here and as specks there.
TEST_F(RenderComparison, RealDrawingsMatchTheReference) {
    const fs::path corpus = fs::path(KALVEX_SOURCE_DIR) / ".." / "shared" / "dxf-corpus";
    if (!fs::is_directory(corpus))
        GTEST_SKIP() << "the shared DXF corpus is not beside the repository";
    QStringList drawings;
    for (const auto& entry : fs::directory_iterator(corpus))
        if (entry.path().extension() == ".dxf")
            drawings << QString::fromStdString(entry.path().string());
    drawings.sort();
    expectCoverage(compare(drawings, work), 0.75);
}

} // namespace
} // namespace kalvex::drawing
