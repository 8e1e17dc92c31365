#include "base/passwords.h"

#include "base/dbsession.h"

#include <QCryptographicHash>
#include <QPasswordDigestor>
#include <QRandomGenerator>
#include <QStringList>

#include <optional>

namespace parcelon {
namespace {
const QString kMethod = QStringLiteral("pbkdf2-sha256");
// About a tenth of a second on an office PC: unnoticed at a login, costly for anyone trying passwords
// against a copied table.
constexpr int kIterations = 120000;
constexpr int kSaltBytes = 16;
constexpr int kKeyBytes = 32;
// A stored work factor above this is no hash of ours: it would only hold the login up.
constexpr int kMostIterations = 10000000;

QByteArray derive(const QString &password, const QByteArray &salt, int iterations)
{
    return QPasswordDigestor::deriveKeyPbkdf2(
        QCryptographicHash::Sha256, password.toUtf8(), salt, iterations, kKeyBytes);
}

// Compares every byte whatever the first difference, so the time taken tells nothing.
bool sameBytes(const QByteArray &a, const QByteArray &b)
{
    if (a.size() != b.size())
        return false;
    unsigned char difference = 0;
    for (qsizetype i = 0; i < a.size(); ++i)
        difference |= static_cast<unsigned char>(a.at(i) ^ b.at(i));
    return difference == 0;
}

struct Parsed
{
    int iterations = 0;
    QByteArray salt;
    QByteArray key;
};

std::optional<Parsed> parse(const QString &stored)
{
    // "$method$iterations$salt$key" splits into an empty first part and four more.
    const QStringList parts = stored.split(QLatin1Char('$'));
    if (parts.size() != 5 || !parts.at(0).isEmpty() || parts.at(1) != kMethod)
        return std::nullopt;
    bool ok = false;
    Parsed parsed;
    parsed.iterations = parts.at(2).toInt(&ok);
    if (!ok || parsed.iterations < 1 || parsed.iterations > kMostIterations)
        return std::nullopt;
    const auto salt = QByteArray::fromBase64Encoding(parts.at(3).toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    const auto key = QByteArray::fromBase64Encoding(parts.at(4).toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    if (!salt || !key || salt.decoded.isEmpty() || key.decoded.size() != kKeyBytes)
        return std::nullopt;
    parsed.salt = salt.decoded;
    parsed.key = key.decoded;
    return parsed;
}
} // namespace

QString hashPassword(const QString &password)
{
    QByteArray salt(kSaltBytes, Qt::Uninitialized);
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32 *>(salt.data()), kSaltBytes / 4);
    return QStringLiteral("$%1$%2$%3$%4")
        .arg(kMethod)
        .arg(kIterations)
        .arg(QString::fromLatin1(salt.toBase64()), QString::fromLatin1(derive(password, salt, kIterations).toBase64()));
}

bool isPasswordHash(const QString &stored) { return parse(stored).has_value(); }

bool passwordMatches(const QString &stored, const QString &typed)
{
    const std::optional<Parsed> parsed = parse(stored);
    if (!parsed)
        return sameBytes(stored.toUtf8(), typed.toUtf8());
    return sameBytes(derive(typed, parsed->salt, parsed->iterations), parsed->key);
}

void hashPlainPasswords(qlonglong srno)
{
    QString sql = QStringLiteral("SELECT srno, password1, password2 FROM user_loging");
    QVariantList params;
    if (srno > 0) {
        sql += QStringLiteral(" WHERE srno = ?");
        params << srno;
    }
    // Read whole before the first update: the rows are not streamed while the updates run.
    Query accounts = db().select(sql + QStringLiteral(" ORDER BY srno"), params);
    while (accounts.next()) {
        const qlonglong account = accounts.value(QStringLiteral("srno")).toLongLong();
        for (const QString &column : {QStringLiteral("password1"), QStringLiteral("password2")}) {
            const QString stored = accounts.value(column);
            if (accounts.isNull(column) || isPasswordHash(stored))
                continue;
            // Only over the value read: a password set meanwhile elsewhere stays.
            db().execute(QStringLiteral("UPDATE user_loging SET %1 = ? WHERE srno = ? AND %1 = ?").arg(column),
                {hashPassword(stored), account, stored});
        }
    }
}

} // namespace parcelon
