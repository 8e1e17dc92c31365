#include "reports/reportpreview.h"

#include "reports/pageview.h"
#include "reports/reportengine.h"
#include "ui/failure.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTimer>
#include <QVBoxLayout>

#include <utility>

namespace parcelon {

ReportPreview::ReportPreview(ReportData data, QByteArray pdf, QWidget *parent)
    : ReportPreview(std::make_unique<ReportPages>(std::move(data)), std::move(pdf), parent)
{
}

ReportPreview::ReportPreview(std::unique_ptr<ReportPages> pages, QByteArray pdf, QWidget *parent)
    : QDialog(parent)
    , m_pages(std::move(pages))
    , m_data(m_pages->data())
    , m_pdf(std::move(pdf))
{
    setObjectName(QStringLiteral("ReportPreview"));
    setWindowTitle(m_data.title.isEmpty() ? m_data.file : m_data.title);
    preview = new PageView(*m_pages, this);
    preview->setObjectName(QStringLiteral("preview"));

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
    connect(cmdzoomin, &QPushButton::clicked, preview, &PageView::zoomIn);
    connect(cmdzoomout, &QPushButton::clicked, preview, &PageView::zoomOut);
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
    // The page fills the width once the window has its size.
    QTimer::singleShot(0, preview, &PageView::fitToWidth);
}

ReportPreview::~ReportPreview() = default;

int ReportPreview::pageCount() const { return preview->pageCount(); }

bool ReportPreview::saveTo(const QString &path) const
{
    // Written beside the target and renamed over it when whole: a failed save leaves the old file as it was.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (m_pdf.isEmpty())
        ReportEngine::writePdf(m_data, &file);
    else if (file.write(m_pdf) != m_pdf.size())
        return false;
    return file.commit();
}

bool ReportPreview::printOn(QPrinter *printer)
{
    printer->setDocName(windowTitle());
    QProgressDialog progress(QStringLiteral("Printing..."), QStringLiteral("Cancel"), 0, m_pages->count(), this);
    progress.setObjectName(QStringLiteral("printing"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(1000);
    bool cancelled = false;
    m_pages->print(printer, [&](int page) {
        progress.setValue(page); // once the bar shows, this lets the window answer between pages
        if (!progress.isVisible()) // until it shows, the window still turns (the clerk's input waits)
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        cancelled = progress.wasCanceled();
        return !cancelled;
    });
    if (cancelled)
        printer->abort();
    progress.setValue(m_pages->count());
    return !cancelled;
}

void ReportPreview::cmdprint_Click()
{
    guarded(this, [this] {
        QPrinter printer(QPrinter::HighResolution);
        printer.setDocName(windowTitle());
        QPrintDialog dialog(&printer, this);
        if (dialog.exec() == QDialog::Accepted)
            printOn(&printer);
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
