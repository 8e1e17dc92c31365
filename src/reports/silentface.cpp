#include "reports/silentface.h"

#include <QFont>
#include <QFontDatabase>
#include <QHash>
#include <QtEndian>

namespace parcelon {
namespace {

// The tables a TrueType face needs to draw and embed its glyphs. Left out: the character map, the glyph
// names, the names (written anew) and the shaping tables, which a face given glyph indexes never reads.
const char *const kKeptTables[]
    = {"head", "hhea", "maxp", "hmtx", "loca", "glyf", "OS/2", "cvt ", "fpgm", "prep", "gasp"};

void put16(QByteArray &out, quint16 v)
{
    out.append(char(v >> 8));
    out.append(char(v & 0xff));
}

void put32(QByteArray &out, quint32 v)
{
    put16(out, quint16(v >> 16));
    put16(out, quint16(v & 0xffff));
}

quint32 tag(const char *name) { return qFromBigEndian<quint32>(reinterpret_cast<const uchar *>(name)); }

// A name table of format 0 giving the family, the style, the full name and the PostScript name in the
// Windows Unicode encoding.
QByteArray nameTable(const QString &family)
{
    const QString postscript = QString(family).remove(QLatin1Char(' '));
    const QList<QPair<quint16, QString>> names
        = {{1, family}, {2, QStringLiteral("Regular")}, {4, family}, {6, postscript}};
    QByteArray strings;
    QByteArray out;
    put16(out, 0);
    put16(out, quint16(names.size()));
    put16(out, quint16(6 + 12 * names.size()));
    for (const auto &[id, text] : names) {
        put16(out, 3);
        put16(out, 1);
        put16(out, 0x409);
        put16(out, id);
        put16(out, quint16(text.size() * 2));
        put16(out, quint16(strings.size()));
        for (QChar c : text)
            put16(strings, c.unicode());
    }
    return out + strings;
}

QByteArray sfnt(const QList<QPair<quint32, QByteArray>> &tables)
{
    QByteArray out;
    const quint16 count = quint16(tables.size());
    quint16 power = 1;
    quint16 log = 0;
    while (power * 2 <= count) {
        power *= 2;
        ++log;
    }
    put32(out, 0x00010000);
    put16(out, count);
    put16(out, quint16(power * 16));
    put16(out, log);
    put16(out, quint16(count * 16 - power * 16));
    quint32 offset = 12 + 16 * count;
    QByteArray body;
    for (const auto &[name, data] : tables) {
        quint32 sum = 0;
        QByteArray padded = data;
        padded.append(QByteArray((4 - padded.size() % 4) % 4, '\0'));
        for (qsizetype i = 0; i < padded.size(); i += 4)
            sum += qFromBigEndian<quint32>(reinterpret_cast<const uchar *>(padded.constData() + i));
        put32(out, name);
        put32(out, sum);
        put32(out, offset + quint32(body.size()));
        put32(out, quint32(data.size()));
        body += padded;
    }
    return out + body;
}

QRawFont build(const QRawFont &face, int serial)
{
    if (face.fontTable("glyf").isEmpty() || face.fontTable("loca").isEmpty() || face.fontTable("head").isEmpty())
        return {};
    const QString family = QStringLiteral("Parcelon Silent %1").arg(serial);
    QList<QPair<quint32, QByteArray>> tables;
    for (const char *name : kKeptTables) {
        const QByteArray data = face.fontTable(name);
        if (!data.isEmpty())
            tables.append({tag(name), data});
    }
    tables.append({tag("name"), nameTable(family)});
    std::sort(tables.begin(), tables.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    // Loaded through the font database, not straight into a raw font: only a registered face is embedded
    // in a PDF as a font.
    if (QFontDatabase::addApplicationFontFromData(sfnt(tables)) < 0)
        return {};
    QFont font(family);
    font.setPixelSize(qRound(face.pixelSize()));
    const QRawFont copy = QRawFont::fromFont(font);
    return copy.isValid() && copy.familyName() == family ? copy : QRawFont();
}

} // namespace

QRawFont silentFace(const QRawFont &face)
{
    struct Copy
    {
        QRawFont base;
        QHash<qreal, QRawFont> sized;
    };
    static QHash<QString, Copy> copies;
    const QString key = QStringLiteral("%1|%2|%3|%4")
                            .arg(face.familyName(), face.styleName())
                            .arg(face.weight())
                            .arg(int(face.style()));
    auto found = copies.find(key);
    if (found == copies.end())
        found = copies.insert(key, Copy {build(face, int(copies.size()) + 1), {}});
    Copy &copy = found.value();
    if (!copy.base.isValid())
        return {};
    auto sized = copy.sized.find(face.pixelSize());
    if (sized == copy.sized.end()) {
        QRawFont f = copy.base;
        f.setPixelSize(face.pixelSize());
        sized = copy.sized.insert(face.pixelSize(), f);
    }
    return sized.value();
}

} // namespace parcelon
