#include "reports/pdftext.h"

#include "reports/reportengine.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace parcelon::test {

QString pdfText(const QByteArray &pdf, QString *error)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("report.pdf"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(pdf) != pdf.size()) {
        if (error)
            *error = QStringLiteral("cannot write %1").arg(path);
        return {};
    }
    file.close();
    QProcess run;
    run.start(QStringLiteral("pdftotext"),
        {QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"), path, QStringLiteral("-")});
    if (!run.waitForFinished(60000) || run.exitStatus() != QProcess::NormalExit || run.exitCode() != 0) {
        if (error)
            *error = QStringLiteral("pdftotext failed (is poppler-utils installed?): %1 %2")
                         .arg(run.errorString(), QString::fromUtf8(run.readAllStandardError()));
        return {};
    }
    return QString::fromUtf8(run.readAllStandardOutput());
}

bool hasLine(const QString &text, const QStringList &values)
{
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        qsizetype at = 0;
        bool all = true;
        for (const QString &v : values) {
            at = line.indexOf(v, at);
            if (at < 0) {
                all = false;
                break;
            }
            at += v.size();
        }
        if (all)
            return true;
    }
    return false;
}

CapturedReports::CapturedReports()
{
    ReportEngine::setPresenter([this](QWidget *, const ReportData &data, const QByteArray &pdf) {
        reports.push_back({data, pdf});
        // PARCELON_KEEP_PDF=folder keeps every report a test renders there, to be looked at.
        const QString keep = qEnvironmentVariable("PARCELON_KEEP_PDF");
        if (!keep.isEmpty()) {
            QFile file(QStringLiteral("%1/%2-%3.pdf").arg(keep, data.file).arg(reports.size()));
            if (file.open(QIODevice::WriteOnly))
                file.write(pdf);
        }
    });
}

CapturedReports::~CapturedReports() { ReportEngine::setPresenter({}); }

} // namespace parcelon::test
