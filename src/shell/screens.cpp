#include "shell/screens.h"

#include "admin/frmbackup.h"
#include "admin/frmbackup_m.h"
#include "lifecycle/frmfind_land_onew.h"
#include "lifecycle/frmland_search.h"
#include "registry/frmgamase_wasam.h"
#include "registry/frmhathara.h"
#include "registry/frmland.h"
#include "registry/frmlandoner.h"
#include "registry/frmnanayayo.h"
#include "ui/screenregistry.h"

#include <memory>

namespace parcelon {
namespace {
template <typename Screen> void add(ScreenId id)
{
    Screens::add(id, [](QWidget *opener) -> std::unique_ptr<QDialog> { return std::make_unique<Screen>(opener); });
}
} // namespace

void registerScreens()
{
    add<frmlandoner>(ScreenId::frmlandoner);
    add<frmgamase_wasam>(ScreenId::frmgamase_wasam);
    add<frmland>(ScreenId::frmland);
    add<frmhathara>(ScreenId::frmhathara);
    add<frmnanayayo>(ScreenId::frmnanayayo);
    add<frmfind_land_onew>(ScreenId::frmfind_land_onew);
    add<frmland_search>(ScreenId::frmland_search);
    add<FRMBACKUP>(ScreenId::FRMBACKUP);
    add<frmbackup_m>(ScreenId::frmbackup_m);
}

} // namespace parcelon
