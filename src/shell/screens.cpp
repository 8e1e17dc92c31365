#include "shell/screens.h"

#include "lifecycle/frmfind_land_onew.h"
#include "lifecycle/frmland_search.h"
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
    add<frmland_report>(ScreenId::frmland_report);
    add<frmlandowner_report>(ScreenId::frmlandowner_report);
    add<frmland_balapath_report>(ScreenId::frmland_balapath_report);
    add<frmland_one_report>(ScreenId::frmland_one_report);
    add<frmpawarim_wartha>(ScreenId::frmpawarim_wartha);
}

} // namespace parcelon
