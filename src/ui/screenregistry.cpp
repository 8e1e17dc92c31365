#include "ui/screenregistry.h"

#include <QDialog>

#include <map>

namespace parcelon {
namespace {
std::map<ScreenId, Screens::Maker> &makers()
{
    static std::map<ScreenId, Screens::Maker> registry;
    return registry;
}

struct Name
{
    ScreenId id;
    const char *name;
};
constexpr Name kNames[] = {
    {ScreenId::frmlandoner, "frmlandoner"},
    {ScreenId::frmland, "frmland"},
    {ScreenId::frmgamase_wasam, "frmgamase_wasam"},
    {ScreenId::frmhathara, "frmhathara"},
    {ScreenId::frmnanayayo, "frmnanayayo"},
    {ScreenId::frmland_change, "frmland_change"},
    {ScreenId::frmland_pewarima, "frmland_pewarima"},
    {ScreenId::frmpasuhimika_change, "frmpasuhimika_change"},
    {ScreenId::frmland_search, "frmland_search"},
    {ScreenId::frmfind_land_onew, "frmfind_land_onew"},
    {ScreenId::frmlandowner_report, "frmlandowner_report"},
    {ScreenId::frmland_report, "frmland_report"},
    {ScreenId::frmland_balapath_report, "frmland_balapath_report"},
    {ScreenId::frmland_one_report, "frmland_one_report"},
    {ScreenId::frmpawarim_wartha, "frmpawarim_wartha"},
    {ScreenId::frmuser, "frmuser"},
    {ScreenId::frmpramission, "frmpramission"},
    {ScreenId::frmlog, "frmlog"},
    {ScreenId::FRMBACKUP, "FRMBACKUP"},
    {ScreenId::frmbackup_m, "frmbackup_m"},
    {ScreenId::frmdelect_all, "frmdelect_all"},
    {ScreenId::FRMDETELS, "FRMDETELS"},
    {ScreenId::frmdetel_ct, "frmdetel_ct"},
};
} // namespace

QString screenName(ScreenId id)
{
    for (const Name &n : kNames) {
        if (n.id == id)
            return QString::fromLatin1(n.name);
    }
    return QStringLiteral("screen %1").arg(int(id));
}

Screens::Maker Screens::add(ScreenId id, Maker maker)
{
    Maker before = std::move(makers()[id]);
    makers()[id] = std::move(maker);
    return before;
}

void Screens::remove(ScreenId id) { makers().erase(id); }

bool Screens::has(ScreenId id)
{
    const auto it = makers().find(id);
    return it != makers().end() && it->second;
}

std::vector<ScreenId> Screens::registered()
{
    std::vector<ScreenId> ids;
    for (const auto &[id, maker] : makers()) {
        if (maker)
            ids.push_back(id);
    }
    return ids;
}

std::unique_ptr<QDialog> Screens::make(ScreenId id, QWidget *opener)
{
    if (!has(id))
        return nullptr;
    return makers()[id](opener);
}

bool Screens::open(ScreenId id, QWidget *opener, const Prepare &prepare)
{
    std::unique_ptr<QDialog> screen = make(id, opener);
    if (!screen)
        return false;
    if (prepare)
        prepare(screen.get());
    screen->exec();
    return true;
}

} // namespace parcelon
