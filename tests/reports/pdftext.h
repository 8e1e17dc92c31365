#pragma once
// What a clerk finds in a rendered report: its text as poppler's pdftotext reads it, with the layout kept
// (one report line on one text line), and the reports presented while a test runs.

#include "base/report.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace parcelon::test {

// The PDF's text; empty when pdftotext cannot read it (the failure is recorded in `error`).
QString pdfText(const QByteArray &pdf, QString *error = nullptr);
// True when some line of the text holds every value, in this order.
bool hasLine(const QString &text, const QStringList &values);

// Catches every report the engine presents while it lives, instead of opening the preview.
class CapturedReports
{
public:
    CapturedReports();
    ~CapturedReports();
    CapturedReports(const CapturedReports &) = delete;
    CapturedReports &operator=(const CapturedReports &) = delete;

    struct Report
    {
        ReportData data;
        QByteArray pdf;
    };
    std::vector<Report> reports;
};

} // namespace parcelon::test
