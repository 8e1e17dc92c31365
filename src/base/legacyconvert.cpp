#include "base/legacyconvert.h"

#include <algorithm>

#include <QHash>
#include <QPair>
#include <QStringList>

namespace parcelon {

namespace {

// The layout table: one row per legacy character or multi-character unit (see the file's header).
const char kLegacyMap[] =
#include "base/legacy_map.inc"
    ;

enum class Kind { Space, Punct, Cons, ConsHal, Syl, Vowel, Sign, Final, Struct, Kombuva, Prefix, Unknown };

struct Entry
{
    QString unicode; // empty: no reading
    Kind kind = Kind::Unknown;
};

const QChar kHal(0x0DCA);
const QChar kZwj(0x200D);
const QChar kSignAa(0x0DCF);
const QChar kSignAuLength(0x0DDF);
const QChar kSignE(0x0DD9);
const QChar kSignEe(0x0DDA);
const QChar kSignAi(0x0DDB);
const QChar kSignO(0x0DDC);
const QChar kSignOo(0x0DDD);
const QChar kSignAu(0x0DDE);
const QChar kRa(0x0DBB);
const QChar kYa(0x0DBA);
const QString kRakar = QString(kHal) + kZwj + kRa;
const QString kYansa = QString(kHal) + kZwj + kYa;
const QString kRepaya = QString(kRa) + kHal + kZwj;

Kind kindOf(const QString &name)
{
    static const QHash<QString, Kind> kinds
        = {{QStringLiteral("space"), Kind::Space}, {QStringLiteral("punct"), Kind::Punct},
            {QStringLiteral("cons"), Kind::Cons}, {QStringLiteral("conshal"), Kind::ConsHal},
            {QStringLiteral("syl"), Kind::Syl}, {QStringLiteral("vowel"), Kind::Vowel},
            {QStringLiteral("sign"), Kind::Sign}, {QStringLiteral("final"), Kind::Final},
            {QStringLiteral("struct"), Kind::Struct}, {QStringLiteral("kombuva"), Kind::Kombuva},
            {QStringLiteral("prefix"), Kind::Prefix}, {QStringLiteral("unknown"), Kind::Unknown}};
    return kinds.value(name, Kind::Unknown);
}

QString codePoints(const QString &field)
{
    QString out;
    if (field == QLatin1String("-"))
        return out;
    const QStringList parts = field.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString &p : parts) {
        const char32_t cp = p.toUInt(nullptr, 16);
        out += QString::fromUcs4(&cp, 1);
    }
    return out;
}

struct Table
{
    QHash<QString, Entry> entries;
    qsizetype maxKey = 1;
    // Reverse direction (Unicode -> typed keys).
    QHash<QString, QString> consonants; // consonant or conjunct -> legacy
    qsizetype maxConsonant = 1;
    QHash<QString, QString> vowels; // independent vowel -> legacy
    QHash<QChar, QString> others; // punctuation, digits, spaces -> legacy

    Table()
    {
        const QStringList lines = QString::fromUtf8(kLegacyMap).split(QLatin1Char('\n'));
        for (const QString &line : lines) {
            if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
                continue;
            const QStringList cols = line.split(QLatin1Char('\t'));
            if (cols.size() < 3)
                continue;
            const QString legacy = codePoints(cols[0]);
            const Entry e {codePoints(cols[1]), kindOf(cols[2])};
            entries.insert(legacy, e);
            maxKey = qMax(maxKey, legacy.size());
            addReverse(legacy, e);
        }
    }

    // The canonical spelling prefers keys typed on the keyboard (ASCII), then the shortest.
    static bool better(const QString &candidate, const QString &current)
    {
        if (current.isEmpty())
            return true;
        const auto ascii = [](const QString &s) {
            for (QChar c : s)
                if (c.unicode() > 0x7E)
                    return false;
            return true;
        };
        if (ascii(candidate) != ascii(current))
            return ascii(candidate);
        return candidate.size() < current.size();
    }

    void addReverse(const QString &legacy, const Entry &e)
    {
        QHash<QString, QString> *target = nullptr;
        if (e.kind == Kind::Cons)
            target = &consonants;
        else if (e.kind == Kind::Vowel)
            target = &vowels;
        if (target) {
            if (better(legacy, target->value(e.unicode)))
                target->insert(e.unicode, legacy);
            if (e.kind == Kind::Cons)
                maxConsonant = qMax(maxConsonant, e.unicode.size());
            return;
        }
        if ((e.kind == Kind::Punct || e.kind == Kind::Space) && e.unicode.size() == 1) {
            const QChar u = e.unicode.at(0);
            if (better(legacy, others.value(u)))
                others.insert(u, legacy);
        }
    }
};

const Table &table()
{
    static const Table t;
    return t;
}

// Bytes 0x80-0x9F read as ISO 8859-1 are C1 controls; the layout means their Windows-1252 characters.
QChar fromC1(QChar c)
{
    static const char16_t cp1252[32] = {0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030,
        0x0160, 0x2039, 0x0152, 0, 0x017D, 0, 0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122,
        0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178};
    const char16_t u = c.unicode();
    if (u >= 0x80 && u <= 0x9F && cp1252[u - 0x80])
        return QChar(cp1252[u - 0x80]);
    return c;
}

struct Token
{
    qsizetype pos;
    QString text;
    const Entry *entry; // nullptr: not in the layout
    Kind kind() const { return entry ? entry->kind : Kind::Unknown; }
    QString unicode() const { return entry ? entry->unicode : QString(); }
};

QList<Token> tokenize(const QString &legacy)
{
    const Table &t = table();
    QString s = legacy;
    for (QChar &c : s)
        c = fromC1(c);
    QList<Token> out;
    qsizetype i = 0;
    while (i < s.size()) {
        bool found = false;
        for (qsizetype n = qMin(t.maxKey, s.size() - i); n > 0; --n) {
            const auto it = t.entries.constFind(s.mid(i, n));
            if (it != t.entries.cend()) {
                out.append({i, it.key(), &it.value()});
                i += n;
                found = true;
                break;
            }
        }
        if (!found) {
            out.append({i, s.mid(i, 1), nullptr});
            ++i;
        }
    }
    return out;
}

bool isBase(Kind k) { return k == Kind::Cons || k == Kind::ConsHal || k == Kind::Syl; }
bool isTail(Kind k) { return k == Kind::Sign || k == Kind::Final || k == Kind::Struct; }

struct Mark
{
    QString unicode;
    qsizetype pos;
};

// The vowel sign a syllable gets from its kombuva count and the signs typed after the consonant;
// `used` tells how many of those signs it took.
QString combineVowel(int kombuvas, const QList<Mark> &signs, qsizetype &used)
{
    const auto at = [&](qsizetype i) { return i < signs.size() ? signs[i].unicode : QString(); };
    used = 0;
    if (kombuvas == 0) {
        if (signs.isEmpty())
            return {};
        used = 1;
        return signs[0].unicode;
    }
    if (kombuvas == 1) {
        if (at(0) == QString(kSignAa) && at(1) == QString(kHal)) {
            used = 2;
            return QString(kSignOo);
        }
        used = 1;
        if (at(0) == QString(kHal))
            return QString(kSignEe);
        if (at(0) == QString(kSignAa))
            return QString(kSignO);
        if (at(0) == QString(kSignAuLength))
            return QString(kSignAu);
        used = 0;
        return QString(kSignE);
    }
    return QString(kSignAi);
}

// One syllable: `kombuvas` kombuva characters, the base at toks[j], its signs and marks.
qsizetype readSyllable(const QList<Token> &toks, qsizetype j, int kombuvas, LegacyConversion &out)
{
    const Token &base = toks[j];
    QString consonant = base.unicode();
    QList<Mark> signs, finals, extras;
    if (base.kind() == Kind::ConsHal || base.kind() == Kind::Syl) {
        signs.append({consonant.right(1), base.pos});
        consonant.chop(1);
    }
    bool rakar = false, yansa = false, repaya = false;
    qsizetype m = j + 1;
    for (; m < toks.size() && isTail(toks[m].kind()); ++m) {
        const Token &t = toks[m];
        const QString u = t.unicode();
        if (t.kind() == Kind::Struct) {
            if (u == kRakar)
                rakar = true;
            else if (u == kYansa)
                yansa = true;
            else
                repaya = true;
        } else if (t.kind() == Kind::Final) {
            bool seen = false;
            for (const Mark &f : std::as_const(finals))
                seen = seen || f.unicode == u;
            if (!seen)
                finals.append({u, t.pos});
        } else if (!finals.isEmpty()) {
            extras.append({u, t.pos}); // a vowel sign after anusvaraya/visargaya
        } else if (signs.isEmpty() || signs.last().unicode != u) {
            signs.append({u, t.pos}); // the same sign typed twice counts once
        }
    }
    qsizetype used = 0;
    const QString vowel = combineVowel(kombuvas, signs, used);
    extras = signs.mid(used) + extras;

    if (repaya)
        out.unicode += kRepaya;
    out.unicode += consonant;
    if (rakar)
        out.unicode += kRakar;
    if (yansa)
        out.unicode += kYansa;
    out.unicode += vowel;
    for (const Mark &f : std::as_const(finals))
        out.unicode += f.unicode;
    for (const Mark &x : std::as_const(extras)) {
        out.unicode += x.unicode;
        out.invalidPositions.append(x.pos);
    }
    return m;
}

} // namespace

LegacyConversion legacyToUnicode(const QString &legacy)
{
    const QList<Token> toks = tokenize(legacy);
    LegacyConversion out;
    qsizetype i = 0;
    const qsizetype n = toks.size();
    while (i < n) {
        const Token &t = toks[i];
        const Kind k = t.kind();
        if (k == Kind::Kombuva || isBase(k)) {
            qsizetype j = i;
            while (j < n && toks[j].kind() == Kind::Kombuva)
                ++j;
            if (j >= n || !isBase(toks[j].kind())) {
                for (qsizetype m = i; m < j; ++m) { // kombuva without a consonant
                    out.unicode += kSignE;
                    out.invalidPositions.append(toks[m].pos);
                }
                i = j;
                continue;
            }
            // More than two kombuvas: the first ones are extra.
            const qsizetype kombuvas = j - i;
            QList<qsizetype> extraKombuvas;
            for (qsizetype m = i; m < j - 2; ++m)
                extraKombuvas.append(toks[m].pos);
            i = readSyllable(toks, j, int(qMin<qsizetype>(kombuvas, 2)), out);
            for (qsizetype p : std::as_const(extraKombuvas)) {
                out.unicode += kSignE;
                out.invalidPositions.append(p);
            }
            continue;
        }
        if (k == Kind::Vowel) {
            out.unicode += t.unicode();
            ++i;
            QStringList finals;
            for (; i < n && toks[i].kind() == Kind::Final; ++i)
                if (!finals.contains(toks[i].unicode()))
                    finals.append(toks[i].unicode());
            out.unicode += finals.join(QString());
            continue;
        }
        if (isTail(k)) { // a sign without a consonant
            out.unicode += t.unicode();
            out.invalidPositions.append(t.pos);
        } else if (k == Kind::Punct || k == Kind::Space) {
            out.unicode += t.unicode();
        } else { // no reading, or a prefix piece on its own: keep the character itself
            out.unicode += t.text;
            out.invalidPositions.append(t.pos);
        }
        ++i;
    }
    std::sort(out.invalidPositions.begin(), out.invalidPositions.end());
    return out;
}

QString unicodeToLegacy(const QString &unicode)
{
    const Table &t = table();
    static const QHash<QChar, QString> signs
        = {{QChar(0x0DCA), QStringLiteral("a")}, {QChar(0x0DCF), QStringLiteral("d")},
            {QChar(0x0DD0), QStringLiteral("e")}, {QChar(0x0DD1), QStringLiteral("E")},
            {QChar(0x0DD2), QStringLiteral("s")}, {QChar(0x0DD3), QStringLiteral("S")},
            {QChar(0x0DD4), QStringLiteral("q")}, {QChar(0x0DD6), QStringLiteral("Q")},
            {QChar(0x0DD8), QStringLiteral("D")}, {QChar(0x0DF2), QStringLiteral("DD")},
            {QChar(0x0DDF), QStringLiteral("!")}, {QChar(0x0DF3), QStringLiteral("!!")},
            {QChar(0x0D82), QStringLiteral("x")}, {QChar(0x0D83), QStringLiteral("#")}};
    // Vowel signs typed as a kombuva before the consonant, and what follows the consonant.
    static const QHash<QChar, QPair<QString, QString>> kombuvaSigns = {{kSignE, {QStringLiteral("f"), QString()}},
        {kSignEe, {QStringLiteral("f"), QStringLiteral("a")}}, {kSignAi, {QStringLiteral("ff"), QString()}},
        {kSignO, {QStringLiteral("f"), QStringLiteral("d")}}, {kSignOo, {QStringLiteral("f"), QStringLiteral("da")}},
        {kSignAu, {QStringLiteral("f"), QStringLiteral("!")}}};

    QString out;
    qsizetype i = 0;
    const qsizetype n = unicode.size();
    while (i < n) {
        // Repaya: RA + al-lakuna + ZWJ before a consonant is typed "_" after it.
        bool repaya = false;
        if (unicode.mid(i, 3) == kRepaya && i + 3 < n && t.consonants.contains(unicode.mid(i + 3, 1))) {
            repaya = true;
            i += 3;
        }
        QString cons;
        for (qsizetype len = qMin(t.maxConsonant, n - i); len > 0; --len) {
            const auto it = t.consonants.constFind(unicode.mid(i, len));
            if (it != t.consonants.cend()) {
                cons = it.value();
                i += len;
                break;
            }
        }
        if (cons.isEmpty()) {
            if (repaya)
                out += kRepaya; // not before a consonant after all: keep it
            bool vowel = false;
            for (qsizetype len = qMin<qsizetype>(2, n - i); len > 0 && !vowel; --len) {
                const auto it = t.vowels.constFind(unicode.mid(i, len));
                if (it != t.vowels.cend()) {
                    out += it.value();
                    i += len;
                    vowel = true;
                }
            }
            if (vowel)
                continue;
            const QChar c = unicode.at(i++);
            if (t.others.contains(c))
                out += t.others.value(c);
            else
                out += signs.value(c, QString(c));
            continue;
        }
        QString tail;
        if (repaya)
            tail += QLatin1Char('_');
        if (unicode.mid(i, 3) == kRakar) {
            tail += QLatin1Char('%');
            i += 3;
        } else if (unicode.mid(i, 3) == kYansa) {
            tail += QLatin1Char('H');
            i += 3;
        }
        QString prefix;
        if (i < n && kombuvaSigns.contains(unicode.at(i))) {
            const auto &k = kombuvaSigns.value(unicode.at(i++));
            prefix = k.first;
            tail += k.second;
        } else if (i < n && signs.contains(unicode.at(i)) && unicode.at(i) != QChar(0x0D82)
            && unicode.at(i) != QChar(0x0D83)) {
            const QChar sign = unicode.at(i++);
            // After RA the aeda glyphs read as RU and RUU ("re", "rE"), so RAE and RAEE have
            // characters of their own.
            const bool ra = cons == QLatin1String("r") && tail.isEmpty();
            if (ra && sign == QChar(0x0DD4))
                tail += QLatin1Char('e');
            else if (ra && sign == QChar(0x0DD6))
                tail += QLatin1Char('E');
            else if (ra && sign == QChar(0x0DD0))
                cons = QStringLiteral("/");
            else if (ra && sign == QChar(0x0DD1))
                cons = QStringLiteral("?");
            else
                tail += signs.value(sign);
        }
        while (i < n && (unicode.at(i) == QChar(0x0D82) || unicode.at(i) == QChar(0x0D83)))
            tail += signs.value(unicode.at(i++));
        out += prefix + cons + tail;
    }
    return out;
}

} // namespace parcelon
