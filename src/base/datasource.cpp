#include "base/datasource.h"

#include <QFileInfo>
#include <QStorageInfo>
#include <QStringList>

#include <ifaddrs.h>
#include <netdb.h>
#include <sys/socket.h>
#include <unistd.h>

#include <odbcinst.h>

namespace parcelon {
namespace {

QString profileString(const QString &section, const char *entry, const char *file)
{
    char buffer[1024] = {};
    const QByteArray sectionBytes = section.toLocal8Bit();
    const int n = SQLGetPrivateProfileString(sectionBytes.constData(), entry, "", buffer,
                                             int(sizeof buffer), file);
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

bool removeDataSource(const QString &name)
{
    UWORD mode = ODBC_BOTH_DSN;
    SQLGetConfigMode(&mode);
    SQLSetConfigMode(ODBC_USER_DSN);
    const bool ok = SQLWritePrivateProfileString(name.toLocal8Bit().constData(), nullptr, nullptr, "odbc.ini");
    SQLSetConfigMode(mode);
    return ok;
}

bool writeDataSource(const QString &name, const QList<std::pair<QString, QString>> &entries)
{
    removeDataSource(name);
    UWORD mode = ODBC_BOTH_DSN;
    SQLGetConfigMode(&mode);
    SQLSetConfigMode(ODBC_USER_DSN);
    bool ok = true;
    const QByteArray section = name.toLocal8Bit();
    for (const auto &[key, value] : entries)
        ok = ok && SQLWritePrivateProfileString(section.constData(), key.toLocal8Bit().constData(),
                                                value.toLocal8Bit().constData(), "odbc.ini");
    SQLSetConfigMode(mode);
    return ok;
}

bool registerIsOnThisMachine(const DataSource &source)
{
    switch (source.engine) {
    case Engine::SQLite: {
        // A register file on a network share lives on the share's server, not here.
        const QString type = QString::fromLatin1(QStorageInfo(QFileInfo(source.database).absolutePath()).fileSystemType());
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
