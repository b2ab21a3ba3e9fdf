// The rules alone, no forms: the connection manager, the polling cycle and the two screens'
// models over the real library, so the figure is the tick's own cost.
#include "custom_screen_ticks.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <utility>

#include "app/polling_cycle.h"
#include "counting_library.h"
#include "link/connection_manager.h"
#include "link/dynamic_zel_library.h"
#include "link/link_session.h"
#include "link/link_thread_library.h"
#include "settings/first_run.h"
#include "settings/main_settings.h"
#include "tick_rounds.h"
#include "windowless_ui.h"
#include "windows/custom_screen_model.h"

namespace zel::bench {
namespace {

// Every kind from flags to the servo inputs, within the demo controller's counts (64 flags,
// 4 analog outputs, 4 servos); the second screen has them in the reverse order.
constexpr std::pair<int16_t, int32_t> kRows[CustomScreenModel::RowCount] = {
    {1, 3}, {1, 40}, {2, 1}, {2, 5},   {3, 1}, {3, 8}, {4, 1}, {4, 8},
    {5, 1}, {5, 4},  {6, 2}, {6, 100}, {7, 1}, {8, 4}, {9, 2}, {12, 3}};

// Chooses the kind and types the number as a user would; false when the screen refused it.
bool define(CustomScreenModel& screen, int r, int16_t kind, int32_t number) {
    screen.kindChosen(r, kind);
    screen.numberKey(r, u'1');
    screen.setNumberText(r, QString::number(number));
    screen.numberKey(r, QChar(13));
    return screen.row(r).kind == kind && screen.row(r).number == number;
}

// Every row shows a value read from the controller, none the unreadable mark.
bool allRowsRead(const CustomScreenModel& screen) {
    for (int r = 0; r < CustomScreenModel::RowCount; ++r)
        if (screen.valueText(r).isEmpty() || screen.valueText(r) == QStringLiteral("*"))
            return false;
    return true;
}

}  // namespace

bool benchCustomScreenTicks(const QString& profile, int rounds, int ticksPerRound) {
    DynamicZelLibrary real({QStringLiteral(ZELCOM_LIBRARY_FILE)});
    LinkThreadLibrary link(real);  // as in the monitor
    CountingLibrary library(link);
    AppState state;
    settings::SettingsStore store(profile);
    store.load(settings::firstRunSettings());
    QStringList messages;
    settings::WindowPlacement placement;
    settings::loadMainSettings(store, {}, {state, placement}, messages);
    Windowless ui;
    ConnectionManager connection(state, library, ui);
    connection.resolveHost();
    if (connection.CheckComm() != CommCheck::Connected) {
        std::fprintf(stderr, "no connection to the simulator: %s\n", qPrintable(ui.status));
        return false;
    }
    linkWorks(state);

    double pumpNs = 0;
    TickReadCache reads(library);  // as in the monitor
    PollingCycle polling(
        state, reads, connection,
        [&] {
            QElapsedTimer clock;
            clock.start();
            QCoreApplication::processEvents();
            pumpNs += static_cast<double>(clock.nsecsElapsed());
        },
        [&](const QString& text) { ui.status = text; });
    polling.setReadCache(&reads);
    const ResourceServices services{
        state, reads, store, nullptr, [](const QString&) {}, [](const QString&) {}};
    CustomScreenModel first(CustomScreen::First, services, nullptr);
    CustomScreenModel second(CustomScreen::Second, services, nullptr);
    polling.addBlock(first, 1);
    polling.addBlock(second, 2);
    first.open();
    second.open();
    for (int r = 0; r < CustomScreenModel::RowCount; ++r) {
        const auto [kind, number] = kRows[r];
        const auto [reversedKind, reversedNumber] = kRows[CustomScreenModel::RowCount - 1 - r];
        if (!define(first, r, kind, number) || !define(second, r, reversedKind, reversedNumber)) {
            std::fprintf(stderr, "a custom screen refused the definition of row %d\n", r + 1);
            return false;
        }
    }
    polling.tick();
    if (state.flags.NoCommunication || !allRowsRead(first) || !allRowsRead(second)) {
        std::fprintf(stderr, "the custom screens' tick did not read every row: %s\n",
                     qPrintable(ui.status));
        return false;
    }
    // The floor makes the tick's own round trips straight to the library.
    const auto tick = [&] { polling.tick(); };
    TripReplay trips = tripsOf(library, real, state.connection.CommHandle, tick);
    printTickRounds("both custom screens open, sixteen rows of mixed kinds each",
                    measureTickRounds(rounds, ticksPerRound, trips.count(), std::ref(trips), tick,
                                      library, pumpNs),
                    1.2);
    return true;
}

}  // namespace zel::bench
