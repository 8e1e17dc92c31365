#pragma once
// The screen registry: every screen is opened through here by its identity, so an area opens another
// area's screen without knowing it. The shell registers each screen once at start-up (how to make it);
// an opener names the screen, passes itself as the opener, and may prepare the screen (hand it values)
// before it shows. Tests replace an entry to see what would open.
//
// A screen that is not registered yet (its area is still to be built) opens nothing.

#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QDialog;
class QWidget;

namespace parcelon {

enum class ScreenId {
    // The register
    frmlandoner,
    frmland,
    frmgamase_wasam,
    frmhathara,
    frmnanayayo,
    // The land's life and the two choosers
    frmland_change,
    frmland_pewarima,
    frmpasuhimika_change,
    frmland_search,
    frmfind_land_onew,
    // Reports
    frmlandowner_report,
    frmland_report,
    frmland_balapath_report,
    frmland_one_report,
    frmpawarim_wartha,
    // Administration
    frmuser,
    frmpramission,
    frmlog,
    FRMBACKUP,
    frmbackup_m,
    frmdelect_all,
    FRMDETELS,
    frmdetel_ct,
};

// The screen's form name, e.g. "frmlandoner".
QString screenName(ScreenId id);

class Screens final
{
public:
    // Makes the screen, not yet shown, with the opener as its parent.
    using Maker = std::function<std::unique_ptr<QDialog>(QWidget *opener)>;
    // Hands the screen values before it shows (sets its controls).
    using Prepare = std::function<void(QDialog *screen)>;

    // Registers (or replaces) how a screen is made; returns what was registered before.
    static Maker add(ScreenId id, Maker maker);
    static void remove(ScreenId id);
    static bool has(ScreenId id);
    static std::vector<ScreenId> registered();

    // Makes the screen for an opener; null when the screen is not registered.
    static std::unique_ptr<QDialog> make(ScreenId id, QWidget *opener);
    // Makes, prepares and shows the screen modally over its opener and returns when it closes: true when
    // the screen was shown, false when it is not registered.
    static bool open(ScreenId id, QWidget *opener, const Prepare &prepare = {});
};

} // namespace parcelon
