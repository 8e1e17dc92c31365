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

// Every screen, a row each, by its form name, which is also the name of its class. The identities, the
// names and the shell's registration are all made from this table: a new screen is its files, a row here
// and its header's include in src/shell/screens.cpp (and a menu row where the main menu opens it).
#define PARCELON_SCREENS(SCREEN)                                                                                       \
    /* The register */                                                                                                 \
    SCREEN(frmlandoner)                                                                                                \
    SCREEN(frmland)                                                                                                    \
    SCREEN(frmgamase_wasam)                                                                                            \
    SCREEN(frmhathara)                                                                                                 \
    SCREEN(frmnanayayo)                                                                                                \
    /* The land's life and the two choosers */                                                                         \
    SCREEN(frmland_change)                                                                                             \
    SCREEN(frmland_pewarima)                                                                                           \
    SCREEN(frmpasuhimika_change)                                                                                       \
    SCREEN(frmland_search)                                                                                             \
    SCREEN(frmfind_land_onew)                                                                                          \
    /* Reports */                                                                                                      \
    SCREEN(frmlandowner_report)                                                                                        \
    SCREEN(frmland_report)                                                                                             \
    SCREEN(frmland_balapath_report)                                                                                    \
    SCREEN(frmland_one_report)                                                                                         \
    SCREEN(frmpawarim_wartha)                                                                                          \
    /* Administration */                                                                                               \
    SCREEN(frmuser)                                                                                                    \
    SCREEN(frmpramission)                                                                                              \
    SCREEN(frmlog)                                                                                                     \
    SCREEN(FRMBACKUP)                                                                                                  \
    SCREEN(frmbackup_m)                                                                                                \
    SCREEN(frmdelect_all)                                                                                              \
    SCREEN(FRMDETELS)                                                                                                  \
    SCREEN(frmdetel_ct)

enum class ScreenId {
#define PARCELON_SCREEN_ID(name) name,
    PARCELON_SCREENS(PARCELON_SCREEN_ID)
#undef PARCELON_SCREEN_ID
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
