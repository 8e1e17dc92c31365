#include "base/datasource.h"

#include "buildconfig.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStorageInfo>
#include <QStringList>
#include <QTemporaryDir>

#include <ifaddrs.h>
#include <netdb.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <odbcinst.h>

namespace parcelon {
namespace {

QString profileString(const QString &section, const char *entry, const char *file)
{
    char buffer[1024] = {};
    const QByteArray sectionBytes = section.toLocal8Bit();
    const int n = SQLGetPrivateProfileString(sectionBytes.constData(), entry, "", buffer, int(sizeof buffer), file);
    if (n <= 0)
        return {};
    return QString::fromLocal8Bit(buffer).trimmed();
}

// The first of several spellings that the ODBC drivers accept for one key.
QString firstEntry(const QString &section, std::initializer_list<const char *> entries)
{
    for (const char *entry : entries) {
        const QString value = profileString(section, entry, "odbc.ini");
        if (!value.isEmpty())
            return value;
    }
    return {};
}

Engine engineOfDriver(const QString &path)
{
    const QString file = QFileInfo(path).fileName().toLower();
    if (file.contains(QLatin1String("sqlite3odbc")))
        return Engine::SQLite;
    if (file.startsWith(QLatin1String("psqlodbc")))
        return Engine::PostgreSQL;
    return Engine::Other;
}

QString optionValue(const QString &options, const QString &key)
{
    // Pqopt holds libpq options: "passfile=/x sslmode=disable"
    const QStringList parts = options.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString &part : parts) {
        if (part.startsWith(key + QLatin1Char('=')))
            return part.mid(key.size() + 1);
    }
    return {};
}

bool isLocalHostName(const QString &host)
{
    if (host.isEmpty() || host.startsWith(QLatin1Char('/')) || host == QLatin1String("localhost")
        || host.startsWith(QLatin1String("127.")) || host == QLatin1String("::1"))
        return true;
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) == 0 && host.compare(QString::fromLocal8Bit(name), Qt::CaseInsensitive) == 0)
        return true;

    // A name or address of one of this machine's own interfaces.
    addrinfo hints {};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo *resolved = nullptr;
    if (getaddrinfo(host.toLocal8Bit().constData(), nullptr, &hints, &resolved) != 0)
        return false;
    ifaddrs *interfaces = nullptr;
    bool local = false;
    if (getifaddrs(&interfaces) == 0) {
        for (addrinfo *a = resolved; a && !local; a = a->ai_next) {
            char want[NI_MAXHOST] = {};
            if (getnameinfo(a->ai_addr, a->ai_addrlen, want, sizeof want, nullptr, 0, NI_NUMERICHOST) != 0)
                continue;
            if (QByteArray(want).startsWith("127.") || QByteArray(want) == "::1")
                local = true;
            for (ifaddrs *i = interfaces; i && !local; i = i->ifa_next) {
                if (!i->ifa_addr || (i->ifa_addr->sa_family != AF_INET && i->ifa_addr->sa_family != AF_INET6))
                    continue;
                char have[NI_MAXHOST] = {};
                const socklen_t len = i->ifa_addr->sa_family == AF_INET ? sizeof(sockaddr_in) : sizeof(sockaddr_in6);
                if (getnameinfo(i->ifa_addr, len, have, sizeof have, nullptr, 0, NI_NUMERICHOST) == 0
                    && qstrcmp(have, want) == 0)
                    local = true;
            }
        }
        freeifaddrs(interfaces);
    }
    freeaddrinfo(resolved);
    return local;
}

} // namespace

std::optional<DataSource> readDataSource(const QString &name)
{
    DataSource source;
    source.name = name;
    source.driver = profileString(name, "Driver", "odbc.ini");
    if (source.driver.isEmpty())
        return std::nullopt;

    source.driverPath = source.driver;
    if (!source.driver.contains(QLatin1Char('/'))) {
        // A driver name: odbcinst.ini says which library it is.
        const QString library = profileString(source.driver, "Driver", "odbcinst.ini");
        if (!library.isEmpty())
            source.driverPath = library;
    }
    source.engine = engineOfDriver(source.driverPath);
    source.database = firstEntry(name, {"Database"});
    if (source.engine == Engine::SQLite) {
        bool ok = false;
        const int timeout = firstEntry(name, {"Timeout"}).toInt(&ok);
        if (ok && timeout >= 0)
            source.timeoutMs = timeout;
    } else if (source.engine == Engine::PostgreSQL) {
        source.server = firstEntry(name, {"Servername", "Server", "Host"});
        source.port = firstEntry(name, {"Port"});
        source.user = firstEntry(name, {"Username", "UserName", "UID", "User"});
        source.passfile = optionValue(firstEntry(name, {"Pqopt", "pqopt"}), QStringLiteral("passfile"));
    }
    return source;
}

namespace {

// odbc.ini is edited line by line, each line kept as the bytes it is in the file, its line end included.
bool isSectionHeader(const QByteArray &line, QByteArray *name = nullptr)
{
    const QByteArray trimmed = line.trimmed();
    if (!trimmed.startsWith('['))
        return false;
    if (name) {
        const qsizetype close = trimmed.indexOf(']');
        *name = trimmed.mid(1, close < 0 ? -1 : close - 1).trimmed();
    }
    return true;
}

bool isEntry(const QByteArray &line)
{
    const QByteArray trimmed = line.trimmed();
    return !trimmed.isEmpty() && !trimmed.startsWith('#') && !trimmed.startsWith(';') && !isSectionHeader(line);
}

QList<QByteArray> splitLines(const QByteArray &text)
{
    QList<QByteArray> lines;
    qsizetype start = 0;
    while (start < text.size()) {
        const qsizetype end = text.indexOf('\n', start);
        const qsizetype next = end < 0 ? text.size() : end + 1;
        lines << text.mid(start, next - start);
        start = next;
    }
    return lines;
}

QByteArray sectionText(const QString &name, const QList<std::pair<QString, QString>> &entries)
{
    // A line break inside a value would start a line of its own in the file.
    const auto oneLine = [](const QString &text) {
        QString line = text;
        line.replace(QLatin1Char('\n'), QLatin1Char(' ')).replace(QLatin1Char('\r'), QLatin1Char(' '));
        return line.trimmed().toLocal8Bit();
    };
    QByteArray text = '[' + oneLine(name) + "]\n";
    for (const auto &[key, value] : entries)
        text += oneLine(key) + '=' + oneLine(value) + '\n';
    return text;
}

// Rewrites the sections of that name: the first becomes `replacement` (nothing removes it), later ones
// go. A section is its header and its lines up to its last entry; the comments and blank lines after
// that belong to what follows and stay. Without such a section the replacement is appended.
QByteArray editSection(const QByteArray &text, const QByteArray &name, const QByteArray &replacement)
{
    const QList<QByteArray> lines = splitLines(text);
    QByteArray result;
    bool replaced = false;
    for (qsizetype i = 0; i < lines.size();) {
        QByteArray header;
        if (!isSectionHeader(lines[i], &header) || qstricmp(header.constData(), name.constData()) != 0) {
            result += lines[i++];
            continue;
        }
        qsizetype last = i;
        qsizetype end = i + 1;
        for (; end < lines.size() && !isSectionHeader(lines[end]); ++end) {
            if (isEntry(lines[end]))
                last = end;
        }
        qsizetype keep = last + 1;
        if (!replaced && !replacement.isEmpty()) {
            result += replacement;
        } else {
            // Removed: the blank lines that set it apart from what follows go with it.
            while (keep < end && lines[keep].trimmed().isEmpty())
                ++keep;
        }
        replaced = true;
        for (qsizetype k = keep; k < end; ++k)
            result += lines[k];
        i = end;
    }
    if (!replaced && !replacement.isEmpty()) {
        if (!result.isEmpty() && !result.endsWith('\n'))
            result += '\n';
        if (!result.isEmpty() && !result.endsWith("\n\n"))
            result += '\n';
        result += replacement;
    }
    return result;
}

// unixODBC keeps what it has read from odbc.ini for 20 seconds and forgets it only after a write through
// its own API. A write to a scratch file of ours makes it read the edited file again.
void forgetCachedConfiguration()
{
    const QTemporaryDir scratch(QDir::tempPath() + QStringLiteral("/parcelon-XXXXXX"));
    if (!scratch.isValid())
        return;
    const QByteArray file = (scratch.path() + QStringLiteral("/refresh.ini")).toLocal8Bit();
    SQLWritePrivateProfileString("refresh", "written", "1", file.constData());
}

bool replaceSection(const QString &name, const QByteArray &replacement)
{
    const QString path = userOdbcIni();
    QFile current(path);
    QByteArray text;
    if (current.exists()) {
        if (!current.open(QIODevice::ReadOnly))
            return false;
        text = current.readAll();
        current.close();
    } else if (replacement.isEmpty()) {
        return true;
    }
    const QByteArray edited = editSection(text, name.toLocal8Bit(), replacement);
    if (edited == text && current.exists())
        return true;
    // QSaveFile writes beside the file and renames: a failed write never leaves half a configuration.
    // It follows a symbolic link to its target and keeps the file's permissions; in a folder the user may
    // not write to, it writes the file itself.
    QSaveFile file(path);
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly) || file.write(edited) != edited.size() || !file.commit())
        return false;
    forgetCachedConfiguration();
    return true;
}

} // namespace

QString odbcDriverLibrary(const QString &fileName) { return QStringLiteral(PARCELON_ODBC_DRIVER_DIR "/") + fileName; }

QString userOdbcIni()
{
    // As unixODBC finds it: ODBCINI, else the home folder of the account (not $HOME).
    const QString named = qEnvironmentVariable("ODBCINI");
    if (!named.isEmpty())
        return named;
    const passwd *account = getpwuid(getuid());
    const QString home = account && account->pw_dir ? QString::fromLocal8Bit(account->pw_dir) : QStringLiteral("/home");
    return home + QStringLiteral("/.odbc.ini");
}

bool removeDataSource(const QString &name) { return replaceSection(name, QByteArray()); }

bool writeDataSource(const QString &name, const QList<std::pair<QString, QString>> &entries)
{
    return replaceSection(name, sectionText(name, entries));
}

bool registerIsOnThisMachine(const DataSource &source)
{
    switch (source.engine) {
    case Engine::SQLite: {
        // A register file on a network share lives on the share's server, not here.
        const QString type
            = QString::fromLatin1(QStorageInfo(QFileInfo(source.database).absolutePath()).fileSystemType());
        static const QStringList remote = {QStringLiteral("nfs"), QStringLiteral("nfs4"), QStringLiteral("cifs"),
            QStringLiteral("smb3"), QStringLiteral("smbfs"), QStringLiteral("fuse.sshfs")};
        return QFileInfo::exists(source.database) && !remote.contains(type);
    }
    case Engine::PostgreSQL:
        return isLocalHostName(source.server);
    case Engine::Other:
        return false;
    }
    return false;
}

} // namespace parcelon
