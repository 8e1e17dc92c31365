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
    add<frmlandoner>(ScreenId::frmlandoner);
    add<frmgamase_wasam>(ScreenId::frmgamase_wasam);
    add<frmland>(ScreenId::frmland);
    add<frmhathara>(ScreenId::frmhathara);
    add<frmnanayayo>(ScreenId::frmnanayayo);
    add<frmfind_land_onew>(ScreenId::frmfind_land_onew);
    add<frmland_search>(ScreenId::frmland_search);
    add<frmland_change>(ScreenId::frmland_change);
    add<frmpasuhimika_change>(ScreenId::frmpasuhimika_change);
    add<frmland_pewarima>(ScreenId::frmland_pewarima);
    add<frmuser>(ScreenId::frmuser);
    add<frmpramission>(ScreenId::frmpramission);
    add<frmlog>(ScreenId::frmlog);
    add<FRMDETELS>(ScreenId::FRMDETELS);
    add<frmdetel_ct>(ScreenId::frmdetel_ct);
    add<frmdelect_all>(ScreenId::frmdelect_all);
    add<frmland_report>(ScreenId::frmland_report);
    add<frmlandowner_report>(ScreenId::frmlandowner_report);
    add<FRMBACKUP>(ScreenId::FRMBACKUP);
    add<frmbackup_m>(ScreenId::frmbackup_m);
    add<frmland_balapath_report>(ScreenId::frmland_balapath_report);
    add<frmland_one_report>(ScreenId::frmland_one_report);
    add<frmpawarim_wartha>(ScreenId::frmpawarim_wartha);
}

} // namespace parcelon
