#pragma once
// Reports without widgets: the request a report screen makes, the report layouts (our own declarative
// files, "land.rpt" and the rest, installed with the application), the selection formula, and reading a
// report's rows into Unicode text ready to be set on a page. Drawing the pages lives with the report
// screens (reports/reportengine.h): this library stays free of Gui so the data side is tested alone.
//
// A layout file is JSON:
//   {
//     "title": "bvï f,aLKh",                   LegacyText, shown under the header
//     "orientation": "landscape",               or "portrait"
//     "header": [                               lines above the title; the first carries the office name
//       [ {"formula": "fname"} ],               a formula's value (LegacyText unless "legacy": false)
//       [ {"text": "c ye wxlh"}, {"text": " : ", "legacy": false}, {"formula": "anuname",
//         "latinWhen": {"formula": "fshot1", "in": ["c ye wxlh"]}} ]   Latin when another formula says so
//     ],
//     "query": "SELECT ... FROM land_report",  fixed SQL, no values in it
//     "tables": {"land": "l"},                  tables a selection formula may name, and their alias in
//                                               the query ("" for a bare column)
//     "order": "l.srno",                        optional ORDER BY
//     "group": {"field": "x", "caption": "...", "legacy": true},   optional: a heading line per value
//     "columns": [ {"field": "land_no", "caption": " bvï wxlh", "width": 4500,
//                   "legacy": true, "align": "left"} ]   width relative (the list's twips), align
//                                               left/right/center; legacy false for Latin values
//   }
//
// The selection formula is the report engine's own syntax, in the forms the screens make:
//   {table.column} = "text"   a double quote inside the text is written twice
//   {table.column} = 12       a whole number

#include <QString>
#include <QStringList>
#include <QVariant>

#include <map>
#include <stdexcept>
#include <vector>

namespace parcelon {

class DbSession;

// A report that cannot be made: its file is missing or unreadable, its selection formula is not one
// the engine understands. Shown as the common failure message.
class ReportError : public std::runtime_error
{
public:
    explicit ReportError(const QString &description);
    QString description;
};

struct ReportRequest
{
    // The file as the screens name it: "D:\Parcelon\Report\land.rpt" (the folder maps to the
    // application's report folder) or a bare "land.rpt".
    QString file;
    QString selectionFormula; // empty: every row
    std::map<int, QString> formulas; // slot 0..4: name + "='" (or " ='") + value + "'"

    void setFormula(int slot, const QString &text) { formulas[slot] = text; }
};

// The report file's name without any folder: "land.rpt".
QString reportFileName(const QString &file);
// The folder holding the installed layouts: beside the program (reports/), or in the installation's
// share/parcelon/reports. PARCELON_REPORT_DIR overrides both.
QString reportFolder();
// The full path of a request's layout file; throws ReportError when it is not there.
QString reportFilePath(const QString &file);

// A numbered formula's name and value: "fname ='abc'" gives fname and abc. The value is whatever stands
// between the first "='" and the last apostrophe, apostrophes inside included.
struct Formula
{
    QString name;
    QString value;
};
Formula parseFormula(const QString &text);

struct Selection
{
    QString table;
    QString column;
    QVariant value; // text or a whole number
};
// Reads a selection formula; throws ReportError for any other form.
Selection parseSelection(const QString &formula);
// Writes the selection formula that matches a column's text, its quotes escaped.
QString selectionFormula(const QString &table, const QString &column, const QString &text);
QString selectionFormula(const QString &table, const QString &column, qlonglong number);

struct ReportPiece
{
    QString text; // fixed text, or
    QString formula; // a formula's value
    bool legacy = true;
    QString latinWhenFormula; // this piece is Latin when that formula's value is one of latinWhenIn
    QStringList latinWhenIn;
};

struct ReportColumn
{
    QString field;
    QString caption; // LegacyText
    int width = 1000;
    bool legacy = true;
    Qt::Alignment align = Qt::AlignLeft;
};

struct ReportLayout
{
    QString title;
    bool landscape = true;
    std::vector<std::vector<ReportPiece>> header;
    QString query;
    std::map<QString, QString> tables;
    QString order;
    QString groupField;
    QString groupCaption;
    bool groupLegacy = true;
    std::vector<ReportColumn> columns;

    // Reads a layout file; throws ReportError when it is missing or not a layout.
    static ReportLayout load(const QString &path);
    static ReportLayout parse(const QByteArray &json, const QString &name);
};

// A report ready to be set on pages: every text already Unicode.
struct ReportData
{
    QString file;
    bool landscape = true;
    QStringList header; // the first line is the office's
    QString title;
    QStringList captions;
    std::vector<int> widths;
    std::vector<Qt::Alignment> aligns;
    bool grouped = false; // a heading line starts each run of rows with the same group value
    QString groupCaption;
    struct Row
    {
        QString group;
        QStringList cells;
    };
    std::vector<Row> rows;
};

// Unicode Sinhala of a LegacyText.
QString legacyUnicode(const QString &legacy);

// Reads the request's rows through the open session as the layout says: the header with the formula
// values in place, the rows restricted by the selection formula.
ReportData readReport(const ReportLayout &layout, const ReportRequest &request);
// The same through another session (a worker thread's own).
ReportData readReport(const ReportLayout &layout, const ReportRequest &request, DbSession &session);

} // namespace parcelon
