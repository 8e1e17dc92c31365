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
} // namespace

QString screenName(ScreenId id)
{
    switch (id) {
#define PARCELON_SCREEN_NAME(name)                                                                                     \
    case ScreenId::name:                                                                                               \
        return QStringLiteral(#name);
        PARCELON_SCREENS(PARCELON_SCREEN_NAME)
#undef PARCELON_SCREEN_NAME
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
