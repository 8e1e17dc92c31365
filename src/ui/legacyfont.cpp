#include "ui/legacyfont.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontInfo>

namespace parcelon {

void loadBundledParasFont()
{
    if (QFontDatabase::families().contains(kParasFamily, Qt::CaseInsensitive))
        return;
    const QString appDir = QCoreApplication::applicationDirPath();
    // Installed, the font sits where fontconfig finds it for every program; a prefix fontconfig does not
    // scan (/opt/...) still has it beside the program.
    const QStringList candidates = {appDir + QStringLiteral("/fonts/PARAS-N.ttf"),
        appDir + QStringLiteral("/../share/fonts/truetype/parcelon/PARAS-N.ttf")};
    for (const QString &path : candidates) {
        if (QFileInfo::exists(path) && QFontDatabase::addApplicationFont(path) >= 0)
            return;
    }
}

QString actualFamily(const QFont &font) { return QFontInfo(font).family(); }

bool isParasFont(const QFont &font) { return actualFamily(font).compare(kParasFamily, Qt::CaseInsensitive) == 0; }

QFont parasFont(int pointSize)
{
    QFont font(kParasFamily, pointSize);
    // Never borrow glyphs from another font: a legacy byte drawn in Latin is misleading.
    font.setStyleStrategy(QFont::NoFontMerging);
    return font;
}

QFont latinFont(int pointSize, bool bold)
{
    QFont font(QStringLiteral("Arial"), pointSize);
    font.setBold(bold);
    return font;
}

QFont heavyLatinFont(int pointSize)
{
    QFont font(QStringLiteral("Arial Black"), pointSize);
    font.setWeight(QFont::Black);
    return font;
}

} // namespace parcelon
