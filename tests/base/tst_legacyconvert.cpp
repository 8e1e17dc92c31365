// Reading LegacyText (PARAS-N layout) as Unicode Sinhala and back. The expected Unicode of every
// row is written from the layout's readings, character by character.

#include "base/legacyconvert.h"

#include <QtTest>

using parcelon::legacyToUnicode;
using parcelon::unicodeToLegacy;
using namespace Qt::StringLiterals;

class TstLegacyConvert : public QObject
{
    Q_OBJECT

private slots:
    void readsValidSyllables_data();
    void readsValidSyllables();
    void keepsAndReportsInvalidSequences_data();
    void keepsAndReportsInvalidSequences();
    void writesCanonicalLegacyText_data();
    void writesCanonicalLegacyText();
};

// ZWJ written out: rakaransaya, yansaya and repaya carry one.
#define ZWJ "\u200D"

void TstLegacyConvert::readsValidSyllables_data()
{
    QTest::addColumn<QString>("legacy");
    QTest::addColumn<QString>("unicode");

    // kombuva forms
    QTest::newRow("kombuva e-sign") << u"fk"_s << u"නෙ"_s;
    QTest::newRow("kombuva + al-lakuna = ee-sign") << u"fka"_s << u"නේ"_s;
    QTest::newRow("kombuva + aela-pilla = o-sign") << u"fkdue;"_s << u"නොමැත"_s;
    QTest::newRow("kombuva + aela-pilla + al-lakuna = oo-sign") << u"fkda"_s << u"නෝ"_s;
    QTest::newRow("kombuva + gayanukitta = au-sign") << u"fm!"_s << u"පෞ"_s;
    QTest::newRow("double kombuva = ai-sign") << u"ffi"_s << u"සෛ"_s;
    QTest::newRow("kombuva on a consonant with al-lakuna byte") << u"fï"_s << u"මේ"_s;
    QTest::newRow("kombuva on full RA+al-lakuna byte") << u"f¾"_s << u"රේ"_s;
    QTest::newRow("kombuva before the letter e = ai letter") << u"ft"_s << u"ඓ"_s;
    // rakaransaya and yansaya stay with their consonant; the kombuva goes after both
    QTest::newRow("rakaransaya") << u"m%udKh"_s << u"ප්" ZWJ "රමාණය"_s;
    QTest::newRow("rakaransaya + is-pilla") << u"il%sh"_s << u"සක්" ZWJ "රිය"_s;
    QTest::newRow("is-pilla typed before rakaransaya") << u"ls%"_s << u"ක්" ZWJ "රි"_s;
    QTest::newRow("kombuva + rakaransaya") << u"fm%"_s << u"ප්" ZWJ "රෙ"_s;
    QTest::newRow("kombuva + rakaransaya + aela-pilla") << u"f.%d"_s << u"ග්" ZWJ "රො"_s;
    QTest::newRow("kombuva + al-lakuna typed before rakaransaya") << u"fma%"_s << u"ප්" ZWJ "රේ"_s;
    QTest::newRow("yansaya + aela-pilla") << u"jHd"_s << u"ව්" ZWJ "යා"_s;
    QTest::newRow("kombuva + yansaya") << u"fjH"_s << u"ව්" ZWJ "යෙ"_s;
    QTest::newRow("repaya moves before its consonant") << u"ij_"_s << u"සර්" ZWJ "ව"_s;
    QTest::newRow("repaya inside a word") << u"O_u"_s << u"ර්" ZWJ "ධම"_s;
    // precomposed characters
    QTest::newRow("MA+al-lakuna byte") << u"bvï"_s << u"ඉඩම්"_s;
    QTest::newRow("MI byte") << u"bvñ ysñlre"_s << u"ඉඩමි හිමිකරු"_s;
    QTest::newRow("RI byte") << u"lsßu"_s << u"කිරිම"_s;
    QTest::newRow("RA+al-lakuna byte") << u"fylaghd¾"_s << u"හෙක්ටයාර්"_s;
    QTest::newRow("LU byte") << u"ish¨u"_s << u"සියලුම"_s;
    QTest::newRow("DA+rakaransaya byte") << u"øjH"_s << u"ද්" ZWJ "රව්" ZWJ "ය"_s;
    QTest::newRow("SHRII byte") << u"›"_s << u"ශ්" ZWJ "රී"_s;
    QTest::newRow("byte 0x9B read as ISO 8859-1") << u"\u009B"_s << u"ශ්" ZWJ "රී"_s;
    // multi-character units
    QTest::newRow("RA + aeda glyph = RU") << u"rEmh"_s << u"රූපය"_s;
    QTest::newRow("independent vowels") << u"wd we; Tõ ta"_s << u"ආ ඇත ඔව් ඒ"_s;
    QTest::newRow("KSSA conjunct") << u"CI"_s << u"ක්" ZWJ "ෂ"_s;
    QTest::newRow("prefix piece makes NDA") << u"`o"_s << u"ඳ"_s;
    QTest::newRow("paa-pilla variant glyph on KA") << u"l= lq"_s << u"කු කු"_s;
    QTest::newRow("anusvaraya") << u"wxlh"_s << u"අංකය"_s;
    QTest::newRow("repeated sign typed twice counts once") << u"lss"_s << u"කි"_s;
    // punctuation keys
    QTest::newRow("punctuation on other keys") << u"cd'ye ^1&\" ]"_s << u"ජා.හැ (1), %"_s;
}

void TstLegacyConvert::readsValidSyllables()
{
    QFETCH(QString, legacy);
    QFETCH(QString, unicode);
    const auto result = legacyToUnicode(legacy);
    QCOMPARE(result.unicode, unicode);
    QCOMPARE(result.invalidPositions, QList<qsizetype>());
}

void TstLegacyConvert::keepsAndReportsInvalidSequences_data()
{
    QTest::addColumn<QString>("legacy");
    QTest::addColumn<QString>("unicode");
    QTest::addColumn<QList<qsizetype>>("invalid");

    QTest::newRow("kombuva followed by is-pilla") << u"fjs,dj"_s << u"වෙිලාව"_s << QList<qsizetype> {2};
    QTest::newRow("kombuva on a VI byte") << u"fú,dj"_s << u"වෙිලාව"_s << QList<qsizetype> {1};
    QTest::newRow("kombuva without a consonant") << u"f 1"_s << u"ෙ 1"_s << QList<qsizetype> {0};
    QTest::newRow("sign without a consonant") << u"ks sl"_s << u"නි ික"_s << QList<qsizetype> {3};
    QTest::newRow("two different vowel signs") << u"lds"_s << u"කාි"_s << QList<qsizetype> {2};
    QTest::newRow("byte without a reading") << u"l»l"_s << u"ක»ක"_s << QList<qsizetype> {1};
    QTest::newRow("lone prefix piece") << u"`k"_s << u"`න"_s << QList<qsizetype> {0};
}

void TstLegacyConvert::keepsAndReportsInvalidSequences()
{
    QFETCH(QString, legacy);
    QFETCH(QString, unicode);
    QFETCH(QList<qsizetype>, invalid);
    const auto result = legacyToUnicode(legacy);
    QCOMPARE(result.unicode, unicode);
    QCOMPARE(result.invalidPositions, invalid);
}

void TstLegacyConvert::writesCanonicalLegacyText_data()
{
    QTest::addColumn<QString>("unicode");
    QTest::addColumn<QString>("legacy");

    QTest::newRow("caption with kombuva") << u"ඔබට අවසර නොමැත"_s << u"Tng wjir fkdue;"_s;
    QTest::newRow("RU, RAE") << u"හිමිකරු රැකියාව"_s << u"ysuslre /lshdj"_s;
    QTest::newRow("rakaransaya with kombuva") << u"ප්" ZWJ "රදේශ"_s << u"m%foaY"_s;
    QTest::newRow("repaya and yansaya") << u"සර්" ZWJ "ව ද්" ZWJ "රව්" ZWJ "ය"_s << u"ij_ øjH"_s;
    QTest::newRow("conjunct with ee-sign") << u"ක්" ZWJ "ෂේත්" ZWJ "ර"_s << u"fCIa;%"_s;
    QTest::newRow("vowels, anusvaraya, punctuation") << u"ආ ඒ අංකය (1)."_s << u"wd ta wxlh ^1&'"_s;
}

void TstLegacyConvert::writesCanonicalLegacyText()
{
    QFETCH(QString, unicode);
    QFETCH(QString, legacy);
    QCOMPARE(unicodeToLegacy(unicode), legacy);
    const auto back = legacyToUnicode(legacy);
    QCOMPARE(back.unicode, unicode);
    QVERIFY(back.isValid());
}

QTEST_MAIN(TstLegacyConvert)
#include "tst_legacyconvert.moc"
