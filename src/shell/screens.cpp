#include "shell/screens.h"

#include "admin/frmbackup.h"
#include "admin/frmbackup_m.h"
#include "admin/frmdelect_all.h"
#include "admin/frmdetel_ct.h"
#include "admin/frmdetels.h"
#include "admin/frmlog.h"
#include "admin/frmpramission.h"
#include "admin/frmuser.h"
#include "lifecycle/frmfind_land_onew.h"
#include "lifecycle/frmland_change.h"
#include "lifecycle/frmland_pewarima.h"
#include "lifecycle/frmland_search.h"
#include "lifecycle/frmpasuhimika_change.h"
#include "registry/frmgamase_wasam.h"
#include "registry/frmhathara.h"
#include "registry/frmland.h"
#include "registry/frmlandoner.h"
#include "registry/frmnanayayo.h"
#include "reports/frmland_balapath_report.h"
#include "reports/frmland_one_report.h"
#include "reports/frmland_report.h"
#include "reports/frmlandowner_report.h"
#include "reports/frmpawarim_wartha.h"
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
#define PARCELON_REGISTER_SCREEN(name) add<name>(ScreenId::name);
    PARCELON_SCREENS(PARCELON_REGISTER_SCREEN)
#undef PARCELON_REGISTER_SCREEN
}

} // namespace parcelon
