#include "PeerSupport.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include "dxftool/TextTable.h"
#include "dxftool/Tool.h"

namespace kalvex::peer {

namespace {

std::string scriptPath(const char* name) {
    return std::string(KALVEX_SOURCE_DIR) + "/tests/peer/" + name;
}

std::vector<std::string> split(const std::string& line, char separator) {
    std::vector<std::string> fields;
    std::stringstream stream(line);
    std::string field;
    while (std::getline(stream, field, separator))
        fields.push_back(field);
    if (!line.empty() && line.back() == separator)
        fields.emplace_back();
    return fields;
}

std::string text(const QJsonValue& value) {
    return value.toString().toStdString();
}

Row rowOf(const QJsonObject& object) {
    Row row;
    for (auto it = object.begin(); it != object.end(); ++it)
        row[it.key().toStdString()] = text(it.value());
    return row;
}

} // namespace

std::string sharedCorpusFile(const std::string& name) {
    return std::string(KALVEX_SOURCE_DIR) + "/../shared/dxf-corpus/" + name;
}

bool haveSharedCorpus() {
    return std::filesystem::is_directory(sharedCorpusFile(""));
}

ProcessResult runProcess(const std::string& program, const std::vector<std::string>& arguments) {
    QStringList list;
    for (const std::string& argument : arguments)
        list << QString::fromStdString(argument);
    QProcess process;
    process.start(QString::fromStdString(program), list);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), process.readAllStandardOutput().toStdString(),
            process.readAllStandardError().toStdString()};
}

ProcessResult runTool(const std::vector<std::string>& arguments) {
    return runProcess(KALVEX_DXF_TOOL, arguments);
}

ProcessResult runInProcess(const std::vector<std::string>& arguments) {
    std::ostringstream out, err;
    const int status = dxftool::run(arguments, out, err);
    return {status, out.str(), err.str()};
}

std::string firstFault(const std::function<void(dxftool::Problems&)>& read) {
    dxftool::Problems problems;
    try {
        read(problems);
    } catch (const dxftool::TableError& error) {
        return error.what();
    }
    return problems.empty()
               ? "no fault"
               : "t.tsv:" + std::to_string(problems.front().line) + ": " + problems.front().message;
}

std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw std::runtime_error("cannot read " + path);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

void writeFile(const std::string& path, const std::string& content) {
    std::ofstream file(path, std::ios::binary);
    file << content;
    if (!file.flush())
        throw std::runtime_error("cannot write " + path);
}

std::vector<Row> parseExport(const std::string& table) {
    const std::vector<std::string> lines = split(table, '\n');
    if (lines.empty())
        throw std::runtime_error("the export is empty");
    const std::vector<std::string> header = split(lines[0], '\t');
    std::vector<Row> rows;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        if (lines[i].empty() && i + 1 == lines.size())
            break;
        const std::vector<std::string> fields = split(lines[i], '\t');
        if (fields.size() != header.size())
            throw std::runtime_error("bad export line: " + lines[i]);
        Row row;
        for (std::size_t c = 0; c < header.size(); ++c) {
            // The fingerprint is checked for its form and left out: ezdxf has no such column.
            if (header[c] == "fingerprint") {
                if (fields[c].size() != 9 || fields[c][0] != '\'' ||
                    fields[c].find_first_not_of("0123456789abcdef", 1) != std::string::npos)
                    throw std::runtime_error("bad fingerprint: " + lines[i]);
                continue;
            }
            row[header[c]] = dxftool::unescapeField(fields[c]);
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

std::string formatApplyTable(const std::vector<Row>& rows) {
    std::string table = "text\tlayer\thandle\n";
    for (const Row& row : rows)
        table += dxftool::escapeField(row.at("text")) + '\t' + row.at("layer") + '\t' +
                 row.at("handle") + '\n';
    return table;
}

PeerView readWithPeer(const std::string& path) {
    const ProcessResult result = runProcess(KALVEX_PYTHON, {scriptPath("read_drawing.py"), path});
    if (result.exitCode != 0)
        throw std::runtime_error("ezdxf cannot read " + path + ": " + result.err);
    const QJsonObject json =
        QJsonDocument::fromJson(QByteArray::fromStdString(result.out)).object();
    PeerView view{text(json["version"]), text(json["codepage"]), {}, {}, {}, {}};
    for (const QJsonValue& row : json["rows"].toArray())
        view.rows.push_back(rowOf(row.toObject()));
    const QJsonObject entities = json["entities"].toObject();
    for (auto it = entities.begin(); it != entities.end(); ++it)
        view.entities[it.key().toStdString()] = rowOf(it.value().toObject());
    view.header = rowOf(json["header"].toObject());
    for (const QJsonValue& line : json["audit"].toArray())
        view.audit.push_back(text(line));
    return view;
}

PeerDrawing::PeerDrawing(const std::string& name) : m_path(pathOf(name)) {
    const ProcessResult result = runProcess(
        KALVEX_PYTHON, {scriptPath("make_drawings.py"), m_dir.path().toStdString(), name});
    if (result.exitCode != 0)
        throw std::runtime_error("ezdxf cannot write " + name + ": " + result.err);
}

std::string PeerDrawing::pathOf(const std::string& name) const {
    return m_dir.path().toStdString() + "/" + name;
}

const PeerView& PeerDrawing::view() {
    if (!m_viewRead)
        m_view = readWithPeer(m_path);
    m_viewRead = true;
    return m_view;
}

} // namespace kalvex::peer
