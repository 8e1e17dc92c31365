#pragma once
// The preview of a report: its pages as they will print, drawn as they come into view, zoom, print
// through the system's print dialog (the pages streamed to the printer one after the other, with a
// progress bar and Cancel), and save as PDF where the clerk wants it.

#include "base/report.h"

#include <QByteArray>
#include <QDialog>

#include <memory>

class QPrinter;
class QPushButton;

namespace parcelon {

class PageView;
class ReportPages;

class ReportPreview final : public QDialog
{
    Q_OBJECT
public:
    // `pdf`, when the report was rendered already, is what Save writes; otherwise Save renders it.
    ReportPreview(ReportData data, QByteArray pdf = {}, QWidget *parent = nullptr);
    // The preview of a report already set on its pages.
    ReportPreview(std::unique_ptr<ReportPages> pages, QByteArray pdf = {}, QWidget *parent = nullptr);
    ~ReportPreview() override;

    // The number of pages the preview shows.
    int pageCount() const;
    // Writes the report as PDF to a file, replacing it only once whole; false when it cannot be written.
    bool saveTo(const QString &path) const;
    // Prints every page on a printer the clerk chose; false when the clerk cancelled part-way.
    bool printOn(QPrinter *printer);

    void cmdprint_Click();
    void cmdsave_Click();

    PageView *preview;
    QPushButton *cmdprint;
    QPushButton *cmdsave;
    QPushButton *cmdzoomin;
    QPushButton *cmdzoomout;
    QPushButton *cmdexit;

private:
    std::unique_ptr<ReportPages> m_pages;
    const ReportData &m_data; // the pages' own
    QByteArray m_pdf;
};

} // namespace parcelon
