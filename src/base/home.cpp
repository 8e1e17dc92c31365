#include "base/home.h"

#include "base/clock.h"

namespace parcelon {
namespace {
Home *g_home = nullptr;
QDateTime shownAt() { return g_home ? g_home->shownAt() : Clock::now(); }
} // namespace

Home::~Home()
{
    if (g_home == this)
        g_home = nullptr;
}

Home *Home::instance() { return g_home; }
void Home::setInstance(Home *home) { g_home = home; }

namespace session {
QString userName() { return g_home ? g_home->userName() : QString(); }
QString userSrno() { return g_home ? g_home->userSrno() : QString(); }
QString dbDate() { return shownAt().toString(QStringLiteral("yyyy/MM/dd")); }
QString dbTime() { return shownAt().toString(QStringLiteral("hh:mm:ss")); }
} // namespace session

} // namespace parcelon
