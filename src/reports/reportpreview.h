#pragma once
// The preview of a rendered report: its pages as they will print, zoom, print through the system's print
// dialog, and save the PDF where the clerk wants it.

#include "base/report.h"

#include <QByteArray>
#include <QDialog>

class QPrintPreviewWidget;
class QPushButton;

namespace parcelon {

class ReportPreview final : public QDialog
{
    Q_OBJECT
public:
    ReportPreview(ReportData data, QByteArray pdf, QWidget *parent = nullptr);

    // The number of pages the preview shows.
    int pageCount() const;
    // Writes the rendered PDF to a file; false when it cannot be written.
    bool saveTo(const QString &path) const;

    void cmdprint_Click();
    void cmdsave_Click();

    QPrintPreviewWidget *preview;
    QPushButton *cmdprint;
    QPushButton *cmdsave;
    QPushButton *cmdzoomin;
    QPushButton *cmdzoomout;
    QPushButton *cmdexit;

private:
    ReportData m_data;
    QByteArray m_pdf;
};

} // namespace parcelon
