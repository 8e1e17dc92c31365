#include "reports/reportpreview.h"

#include "reports/reportengine.h"
#include "ui/failure.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QSaveFile>
#include <QStandardPaths>
#include <QVBoxLayout>

#include <utility>

namespace parcelon {

ReportPreview::ReportPreview(ReportData data, QByteArray pdf, QWidget *parent)
    : QDialog(parent)
    , m_data(std::move(data))
    , m_pdf(std::move(pdf))
{
    setObjectName(QStringLiteral("ReportPreview"));
    setWindowTitle(m_data.title.isEmpty() ? m_data.file : m_data.title);
    preview = new QPrintPreviewWidget(this);
    preview->setObjectName(QStringLiteral("preview"));
    connect(preview, &QPrintPreviewWidget::paintRequested, this,
        [this](QPrinter *printer) { guarded(this, [&] { ReportEngine::paint(m_data, printer); }); });

    auto make = [this](const char *name, const QString &caption) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        return b;
    };
    cmdprint = make("cmdprint", QStringLiteral("Print..."));
    cmdsave = make("cmdsave", QStringLiteral("Save as PDF..."));
    cmdzoomin = make("cmdzoomin", QStringLiteral("Zoom in"));
    cmdzoomout = make("cmdzoomout", QStringLiteral("Zoom out"));
    cmdexit = make("cmdexit", QStringLiteral("Close"));
    connect(cmdprint, &QPushButton::clicked, this, &ReportPreview::cmdprint_Click);
    connect(cmdsave, &QPushButton::clicked, this, &ReportPreview::cmdsave_Click);
    connect(cmdzoomin, &QPushButton::clicked, preview, [this] { preview->zoomIn(); });
    connect(cmdzoomout, &QPushButton::clicked, preview, [this] { preview->zoomOut(); });
    connect(cmdexit, &QPushButton::clicked, this, &QDialog::accept);

    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {cmdprint, cmdsave, cmdzoomin, cmdzoomout})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(cmdexit);
    auto *column = new QVBoxLayout(this);
    column->addLayout(buttons);
    column->addWidget(preview, 1);
    resize(1000, 720);
    preview->fitToWidth();
}

int ReportPreview::pageCount() const { return preview->pageCount(); }

bool ReportPreview::saveTo(const QString &path) const
{
    // Written beside the target and renamed over it when whole: a failed save leaves the old file as it was.
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(m_pdf) == m_pdf.size() && file.commit();
}

void ReportPreview::cmdprint_Click()
{
    guarded(this, [this] {
        QPrinter printer(QPrinter::HighResolution);
        printer.setDocName(windowTitle());
        QPrintDialog dialog(&printer, this);
        if (dialog.exec() == QDialog::Accepted)
            ReportEngine::paint(m_data, &printer);
    });
}

void ReportPreview::cmdsave_Click()
{
    guarded(this, [this] {
        const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        const QString suggested
            = folder + QLatin1Char('/') + QString(m_data.file).replace(QLatin1String(".rpt"), QLatin1String(".pdf"));
        const QString path = QFileDialog::getSaveFileName(
            this, QStringLiteral("Save as PDF"), suggested, QStringLiteral("PDF (*.pdf)"));
        if (!path.isEmpty() && !saveTo(path))
            throw ReportError(QStringLiteral("The report could not be written to %1").arg(path));
    });
}

} // namespace parcelon
