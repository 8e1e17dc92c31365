// The PARAS-N font shipped in fonts/: it loads under its family name, every character of the legacy
// layout draws ink, LegacyText drawn in it looks like its Unicode reading drawn in the font it was
// made from, and the committed file is exactly what tools/fontgen/make_paras_font.py produces.

#include "base/legacyconvert.h"

#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QProcess>
#include <QRawFont>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

const QString kFontPath = QStringLiteral(PARCELON_SOURCE_DIR "/fonts/PARAS-N.ttf");
const QString kGenerator = QStringLiteral(PARCELON_SOURCE_DIR "/tools/fontgen/make_paras_font.py");
const QString kSourceFontPath = u"/usr/share/fonts/truetype/noto/NotoSansSinhala-Regular.ttf"_s;
const QString kSourceFamily = u"Noto Sans Sinhala"_s;

QFont exactFont(const QString &family)
{
    QFont f(family);
    f.setPixelSize(48);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setStyleStrategy(QFont::NoFontMerging);
    f.setKerning(true);
    return f;
}

struct Drawing
{
    QImage image;
    qreal advance = 0;
};

Drawing draw(const QString &family, const QString &text)
{
    const QFont font = exactFont(family);
    Drawing d;
    d.advance = QFontMetricsF(font).horizontalAdvance(text);
    d.image = QImage(int(std::ceil(d.advance)) + 64, 140, QImage::Format_Grayscale8);
    d.image.fill(255);
    QPainter p(&d.image);
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(QPointF(32, 90), text);
    return d;
}

bool ink(const QImage &img, int x, int y)
{
    if (x < 0 || y < 0 || x >= img.width() || y >= img.height())
        return false;
    return img.constScanLine(y)[x] < 128;
}

// Share of a's ink pixels that have ink of b within one pixel.
double coverage(const QImage &a, const QImage &b, int *inkPixels)
{
    int total = 0, near = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (!ink(a, x, y))
                continue;
            ++total;
            bool found = false;
            for (int dy = -1; dy <= 1 && !found; ++dy)
                for (int dx = -1; dx <= 1 && !found; ++dx)
                    found = ink(b, x + dx, y + dy);
            near += found ? 1 : 0;
        }
    }
    *inkPixels = total;
    return total ? double(near) / total : 0.0;
}

} // namespace

class TstParasFont : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void loadsUnderItsFamilyName();
    void everyLayoutCharacterDrawsInk();
    void legacyTextLooksLikeItsUnicodeReading_data();
    void legacyTextLooksLikeItsUnicodeReading();
    void committedFontIsWhatTheGeneratorMakes();

private:
    int m_fontId = -1;
};

void TstParasFont::initTestCase()
{
    QVERIFY2(QFileInfo::exists(kFontPath), qPrintable(kFontPath));
    m_fontId = QFontDatabase::addApplicationFont(kFontPath);
    QVERIFY(m_fontId >= 0);
    if (!QFontDatabase::families().contains(kSourceFamily))
        QVERIFY2(QFontDatabase::addApplicationFont(kSourceFontPath) >= 0,
            "Noto Sans Sinhala (fonts-noto-core) is needed to compare against");
}

void TstParasFont::loadsUnderItsFamilyName()
{
    QCOMPARE(QFontDatabase::applicationFontFamilies(m_fontId), QStringList {u"PARAS-N"_s});
    QCOMPARE(QFontInfo(exactFont(u"PARAS-N"_s)).family(), u"PARAS-N"_s);
}

void TstParasFont::everyLayoutCharacterDrawsInk()
{
    const QRawFont raw(kFontPath, 48, QFont::PreferNoHinting);
    QVERIFY(raw.isValid());
    QList<char32_t> codePoints;
    for (char32_t c = 0x20; c <= 0x7E; ++c)
        codePoints.append(c);
    for (char32_t c = 0xA0; c <= 0xFF; ++c)
        codePoints.append(c);
    // Windows-1252 characters of bytes 0x80-0x9F that the layout uses.
    codePoints += {0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x201C,
        0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153};
    QStringList missing, blank;
    for (char32_t c : std::as_const(codePoints)) {
        const QString s = QString::fromUcs4(&c, 1);
        const QString name = u"U+%1"_s.arg(quint32(c), 4, 16, QLatin1Char('0')).toUpper();
        if (!raw.supportsCharacter(c)) {
            missing << name;
            continue;
        }
        if (c == 0x20 || c == 0xA0)
            continue;
        const QList<quint32> glyphs = raw.glyphIndexesForString(s);
        if (glyphs.size() != 1 || raw.pathForGlyph(glyphs.first()).boundingRect().isEmpty())
            blank << name;
    }
    QVERIFY2(missing.isEmpty(), qPrintable(u"not in the cmap: "_s + missing.join(u' ')));
    QVERIFY2(blank.isEmpty(), qPrintable(u"no ink: "_s + blank.join(u' ')));
}

void TstParasFont::legacyTextLooksLikeItsUnicodeReading_data()
{
    QTest::addColumn<QString>("legacy");

    QTest::newRow("no permission") << u"Tng wjir fkdue;"_s;
    QTest::newRow("land owner") << u"bvñ ysñlre"_s;
    QTest::newRow("new member") << u"kj idudcsl"_s;
    QTest::newRow("exit") << u"msgjsu"_s;
    QTest::newRow("yes") << u"Tõ"_s;
    QTest::newRow("no") << u"ke;"_s;
    QTest::newRow("in force") << u"il%sh"_s;
    QTest::newRow("deleted") << u"wl%sh"_s;
    QTest::newRow("hectares") << u"1 - fylaghd¾"_s;
    QTest::newRow("acres") << u"2 - wlalr"_s;
    QTest::newRow("perches") << u"m¾pia"_s;
    QTest::newRow("roods") << u"reâ"_s;
    QTest::newRow("operator") << u"l%shdlre"_s;
    QTest::newRow("reports") << u"jd¾;d"_s;
    QTest::newRow("software help") << u"uDÿldx. Wojq"_s;
    QTest::newRow("transfer for succession") << u"miq ysñlu ioyd bvu mejeßu"_s;
    QTest::newRow("register of owner names") << u"bvñ ysñhkaf.a kdu f,aLKh"_s;
    QTest::newRow("all details of the land") << u"bvï ms<sno ish¨u úia;r"_s;
    QTest::newRow("backup location") << u"o;a; .nvdj msgm;a jk ia:dkh 1"_s;
    QTest::newRow("automatic backup") << u"iajhxl%sh o;a; msgm;a wjYh o"_s;
    QTest::newRow("take backup 2") << u"msgm;a 2 ,nd .kafka o"_s;
    QTest::newRow("backup 1 started") << u"o;a; msgm;a 1 wdrïN úh"_s;
    QTest::newRow("delete lands first") << u"bvï ysñhka bj;a lsßug fmr ish¨u bvñ bj;a ú ;sìh hq;=h"_s;
    QTest::newRow("GN division") << u".%du ks,Odrs jiu wod, .u f;drkak"_s;
    QTest::newRow("monthly income") << u"jd¾Isl wdodhu"_s;
    QTest::newRow("identity number wrong") << u"Tn we;=<;a l< cd;sl ye÷kqïm;a wxlh jerÈh"_s;
    QTest::newRow("owner has active lands")
        << u"fuu bvñ ysñhd hgf;a il%sh bvñ we; tajd wfydais jk f;la bvñ ysñhd wfydais l< fkdyel"_s;
    QTest::newRow("four boundaries") << u"i;r udhsï"_s;
    QTest::newRow("lot number") << u"lÜá wxlh"_s;
    QTest::newRow("part of another land") << u"fjk;a bvul fldgila o"_s;
    QTest::newRow("notary deed number") << u"fkd;drsia Tmamq wxlh"_s;
    QTest::newRow("permit number") << u"wjirm;% wxlh"_s;
    QTest::newRow("long lease") << u"5- È¾. ld,sk nÿ"_s;
    QTest::newRow("temple lands") << u"6- foajd, bvï"_s;
    QTest::newRow("add relatives") << u"{d;ska tla lsßu"_s;
    QTest::newRow("land number already entered") << u"fuu bvñ wxlh óg fmr we;=<;a lr we;"_s;
    QTest::newRow("east") << u"kef.kysr (-"_s;
    QTest::newRow("no box may be empty") << u"lsisu fldgqjla ysia úh fkdyel"_s;
    QTest::newRow("activity state") << u"b'il%shNdjh"_s;
    QTest::newRow("vest in the state") << u"rchg mejÍu"_s;
    QTest::newRow("reason for removal") << u"bvï neyer lsÍug fya;=j"_s;
    QTest::newRow("division") << u"fldÜGdYh"_s;
    QTest::newRow("printing") << u"uqo%Kh"_s;
    QTest::newRow("count by house number") << u"bvñ .Kk^.Dy wxlh&"_s;
    QTest::newRow("permit kind") << u"n,m;% j¾.h"_s;
}

void TstParasFont::legacyTextLooksLikeItsUnicodeReading()
{
    QFETCH(QString, legacy);
    const auto reading = parcelon::legacyToUnicode(legacy);
    QVERIFY2(reading.isValid(), qPrintable(reading.unicode));
    QCOMPARE(QFontInfo(exactFont(kSourceFamily)).family(), kSourceFamily);

    const Drawing a = draw(u"PARAS-N"_s, legacy);
    const Drawing b = draw(kSourceFamily, reading.unicode);
    QVERIFY2(std::abs(a.advance - b.advance) <= 1.0, qPrintable(u"widths %1 and %2"_s.arg(a.advance).arg(b.advance)));
    int inkA = 0, inkB = 0;
    const double ab = coverage(a.image, b.image, &inkA);
    const double ba = coverage(b.image, a.image, &inkB);
    QVERIFY(inkA > 100 && inkB > 100);
    QVERIFY2(ab >= 0.99 && ba >= 0.99, qPrintable(u"ink overlap %1 / %2"_s.arg(ab).arg(ba)));
}

void TstParasFont::committedFontIsWhatTheGeneratorMakes()
{
    const QString python = u"/usr/bin/python3"_s;
    if (!QFileInfo::exists(python))
        QSKIP("/usr/bin/python3 is not installed");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString out = dir.filePath(u"PARAS-N.ttf"_s);
    QProcess gen;
    gen.start(python, {kGenerator, out});
    QVERIFY(gen.waitForFinished(600000));
    QVERIFY2(gen.exitStatus() == QProcess::NormalExit && gen.exitCode() == 0, gen.readAllStandardError().constData());

    QFile made(out), committed(kFontPath);
    QVERIFY(made.open(QIODevice::ReadOnly));
    QVERIFY(committed.open(QIODevice::ReadOnly));
    QVERIFY2(made.readAll() == committed.readAll(),
        "fonts/PARAS-N.ttf differs from what tools/fontgen/make_paras_font.py makes: run it and "
        "commit the result");
}

QTEST_MAIN(TstParasFont)
#include "tst_parasfont.moc"
