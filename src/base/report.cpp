#include "base/report.h"

#include "base/dbsession.h"
#include "base/legacyconvert.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

namespace parcelon {
namespace {
// Table and column names of a selection formula go into the SQL text: only plain names pass.
bool plainName(const QString &name)
{
    static const QRegularExpression re(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    return re.match(name).hasMatch();
}

ReportPiece piece(const QJsonObject &o)
{
    ReportPiece p;
    p.text = o.value(QLatin1String("text")).toString();
    p.formula = o.value(QLatin1String("formula")).toString();
    p.legacy = o.value(QLatin1String("legacy")).toBool(true);
    const QJsonObject when = o.value(QLatin1String("latinWhen")).toObject();
    p.latinWhenFormula = when.value(QLatin1String("formula")).toString();
    for (const QJsonValue &v : when.value(QLatin1String("in")).toArray())
        p.latinWhenIn << v.toString();
    return p;
}

Qt::Alignment alignment(const QString &text)
{
    if (text == QLatin1String("right"))
        return Qt::AlignRight;
    if (text == QLatin1String("center"))
        return Qt::AlignHCenter;
    return Qt::AlignLeft;
}
} // namespace

ReportError::ReportError(const QString &description)
    : std::runtime_error(description.toStdString())
    , description(description)
{
}

QString reportFileName(const QString &file)
{
    QString name = file;
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return name.section(QLatin1Char('/'), -1);
}

QString reportFolder()
{
    const QString forced = qEnvironmentVariable("PARCELON_REPORT_DIR");
    if (!forced.isEmpty())
        return forced;
    const QString appDir = QCoreApplication::applicationDirPath();
    const QStringList candidates
        = {appDir + QStringLiteral("/reports"), appDir + QStringLiteral("/../share/parcelon/reports")};
    for (const QString &folder : candidates) {
        if (QFileInfo(folder).isDir())
            return QDir::cleanPath(folder);
    }
    return QDir::cleanPath(candidates.front());
}

QString reportFilePath(const QString &file)
{
    const QString name = reportFileName(file);
    const QString path = reportFolder() + QLatin1Char('/') + name;
    if (name.isEmpty() || !QFileInfo(path).isFile())
        throw ReportError(QStringLiteral("The report file %1 is missing from %2").arg(name, reportFolder()));
    return path;
}

Formula parseFormula(const QString &text)
{
    const qsizetype eq = text.indexOf(QLatin1String("='"));
    const qsizetype last = text.lastIndexOf(QLatin1Char('\''));
    if (eq < 0 || last < eq + 1)
        throw ReportError(QStringLiteral("The report formula \"%1\" has no value").arg(text));
    return {text.left(eq).trimmed(), text.mid(eq + 2, last - eq - 2)};
}

Selection parseSelection(const QString &formula)
{
    static const QRegularExpression re(
        QStringLiteral(R"re(^\s*\{([^.{}]+)\.([^.{}]+)\}\s*=\s*(?:"((?:[^"]|"")*)"|(-?\d+))\s*$)re"));
    const QRegularExpressionMatch m = re.match(formula);
    if (!m.hasMatch() || !plainName(m.captured(1)) || !plainName(m.captured(2)))
        throw ReportError(QStringLiteral("The selection formula \"%1\" is not understood").arg(formula));
    Selection s {m.captured(1), m.captured(2), {}};
    if (m.capturedLength(4) > 0)
        s.value = m.captured(4).toLongLong();
    else
        s.value = m.captured(3).replace(QLatin1String("\"\""), QLatin1String("\""));
    return s;
}

QString selectionFormula(const QString &table, const QString &column, const QString &text)
{
    QString escaped = text;
    escaped.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QStringLiteral("{%1.%2} = \"%3\"").arg(table, column, escaped);
}

QString selectionFormula(const QString &table, const QString &column, qlonglong number)
{
    return QStringLiteral("{%1.%2}=%3").arg(table, column).arg(number);
}

ReportLayout ReportLayout::load(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw ReportError(QStringLiteral("The report file %1 cannot be read").arg(path));
    return parse(file.readAll(), QFileInfo(path).fileName());
}

ReportLayout ReportLayout::parse(const QByteArray &json, const QString &name)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    const QJsonObject o = doc.object();
    if (error.error != QJsonParseError::NoError || !o.contains(QLatin1String("query"))
        || o.value(QLatin1String("columns")).toArray().isEmpty())
        throw ReportError(
            QStringLiteral("The report file %1 is not a report layout (%2)").arg(name, error.errorString()));
    ReportLayout l;
    l.title = o.value(QLatin1String("title")).toString();
    l.landscape = o.value(QLatin1String("orientation")).toString() != QLatin1String("portrait");
    for (const QJsonValue &line : o.value(QLatin1String("header")).toArray()) {
        std::vector<ReportPiece> pieces;
        for (const QJsonValue &p : line.toArray())
            pieces.push_back(piece(p.toObject()));
        l.header.push_back(std::move(pieces));
    }
    l.query = o.value(QLatin1String("query")).toString();
    const QJsonObject tables = o.value(QLatin1String("tables")).toObject();
    for (auto it = tables.begin(); it != tables.end(); ++it)
        l.tables[it.key()] = it.value().toString();
    l.order = o.value(QLatin1String("order")).toString();
    const QJsonObject group = o.value(QLatin1String("group")).toObject();
    l.groupField = group.value(QLatin1String("field")).toString();
    l.groupCaption = group.value(QLatin1String("caption")).toString();
    l.groupLegacy = group.value(QLatin1String("legacy")).toBool(true);
    for (const QJsonValue &v : o.value(QLatin1String("columns")).toArray()) {
        const QJsonObject c = v.toObject();
        l.columns.push_back({c.value(QLatin1String("field")).toString(), c.value(QLatin1String("caption")).toString(),
            c.value(QLatin1String("width")).toInt(1000), c.value(QLatin1String("legacy")).toBool(true),
            alignment(c.value(QLatin1String("align")).toString())});
    }
    return l;
}

QString legacyUnicode(const QString &legacy) { return legacyToUnicode(legacy).unicode; }

ReportData readReport(const ReportLayout &layout, const ReportRequest &request)
{
    return readReport(layout, request, db());
}

ReportData readReport(const ReportLayout &layout, const ReportRequest &request, DbSession &session)
{
    constexpr qsizetype kReportChunk = 2000;
    std::map<QString, QString> values;
    for (const auto &[slot, text] : request.formulas) {
        const Formula f = parseFormula(text);
        values[f.name] = f.value;
    }
    auto valueOf = [&values](const QString &name) {
        const auto it = values.find(name);
        return it == values.end() ? QString() : it->second;
    };

    ReportData data;
    data.file = reportFileName(request.file);
    data.landscape = layout.landscape;
    for (const std::vector<ReportPiece> &line : layout.header) {
        QString text;
        for (const ReportPiece &p : line) {
            const QString raw = p.formula.isEmpty() ? p.text : valueOf(p.formula);
            bool legacy = p.legacy;
            if (!p.latinWhenFormula.isEmpty() && p.latinWhenIn.contains(valueOf(p.latinWhenFormula)))
                legacy = false;
            text += legacy ? legacyUnicode(raw) : raw;
        }
        data.header << text;
    }
    data.title = legacyUnicode(layout.title);
    data.grouped = !layout.groupField.isEmpty();
    data.groupCaption = layout.groupLegacy ? legacyUnicode(layout.groupCaption) : layout.groupCaption;
    for (const ReportColumn &c : layout.columns) {
        data.captions << legacyUnicode(c.caption);
        data.widths.push_back(c.width);
        data.aligns.push_back(c.align);
    }

    QString sql = layout.query;
    QVariantList params;
    if (!request.selectionFormula.trimmed().isEmpty()) {
        const Selection s = parseSelection(request.selectionFormula);
        const auto table = layout.tables.find(s.table);
        if (table == layout.tables.end())
            throw ReportError(QStringLiteral("The report %1 has no table %2").arg(data.file, s.table));
        const QString column = table->second.isEmpty() ? s.column : table->second + QLatin1Char('.') + s.column;
        // A text compares as text; a number compares with the column read as text too, since the
        // register's reference columns are text and its keys integers.
        if (s.value.typeId() == QMetaType::QString) {
            sql += QStringLiteral(" WHERE %1 = ?").arg(column);
            params << s.value;
        } else {
            sql += QStringLiteral(" WHERE CAST(%1 AS VARCHAR(20)) = ?").arg(column);
            params << QString::number(s.value.toLongLong());
        }
    }
    if (!layout.order.isEmpty())
        sql += QStringLiteral(" ORDER BY ") + layout.order;

    // Read a chunk at a time, so a register's rows are never held twice, as read and as set.
    session.selectInChunks(sql, params, kReportChunk, [&](Query rows) {
        while (rows.next()) {
            ReportData::Row row;
            if (!layout.groupField.isEmpty()) {
                const QString g = rows.value(layout.groupField);
                row.group = layout.groupLegacy ? legacyUnicode(g) : g;
            }
            for (const ReportColumn &c : layout.columns) {
                const QString v = rows.value(c.field);
                row.cells << (c.legacy ? legacyUnicode(v) : v);
            }
            data.rows.push_back(std::move(row));
        }
        return true;
    });
    return data;
}

} // namespace parcelon
