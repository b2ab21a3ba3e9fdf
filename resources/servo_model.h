// The two servo windows, "Motors/Servos 1-16" and "Motors/Servos 17-32": per servo its name,
// its position (typed and written on Enter) and its position error. Not paged: servo n is row
// n - 1 of the first window or row n - 17 of the second. Both windows share one edit guard and
// one block of the polling tick; only the first keeps the open flag and saves the placement.
#pragma once

#include <QString>
#include <array>
#include <optional>

#include "link/poll_block.h"
#include "resources/edit_guard.h"
#include "resources/resource_services.h"
#include "resources/window_lifecycle.h"
#include "trends/trend_item.h"

namespace zel {

struct ServoRow {
    QString number;    // Label1
    QString name;      // Label4
    QString position;  // Text1, editable
    QString error;     // Text2
};

class ServoModel final : public PollBlock {
public:
    static constexpr int ServosPerWindow = 16;
    static constexpr int ServoRows = 2 * ServosPerWindow;

    explicit ServoModel(ResourceServices services);
    ServoModel(const ServoModel&) = delete;
    ServoModel& operator=(const ServoModel&) = delete;

    // window 0 is the first window, 1 the second.
    void setView(int window, WindowView* view);

    // The first window: placement from "Servo", ServoFormOpen, "Servo Form unloaded.".
    std::optional<settings::WindowPlacement> openFirst();
    void unloadFirst(settings::DisplayState display, const settings::WindowPlacement& current);
    // The second window reads the "Servo" placement but never writes it and keeps no flag;
    // while it is closed the tick leaves its servos alone. It shows its own message box, as it
    // may outlive the first window.
    std::optional<settings::WindowPlacement> openSecond(const MessageSink& showMessageBox);
    void unloadSecond() { secondShown_ = false; }

    // Rows by index 0..31 (servo index + 1 is the servo number).
    const ServoRow& row(int index) const { return rows_.at(static_cast<size_t>(index)); }
    void setPositionText(int index, const QString& text);
    // Returns whether the key goes into the box.
    bool positionKey(int index, QChar key);
    void positionDelete(int index);
    void positionFocusLost(int index);
    const EditGuard& editGuard() const { return guard_; }

    // Add to Trend on row `index`: the servo's position ("Servo 3", or its symbol name) or its
    // position error ("Servo 3 Error"); none for a servo the controller does not have.
    enum class Value { Position, Error };
    std::optional<TrendItem> trendItem(int index, Value value) const;

    // PollBlock
    bool isOpen() const override { return lifecycle_.isOpen(); }
    void refresh(PollContext& context) override;

private:
    void loadRows(int window);
    QString servoName(int32_t number) const;
    void writePosition(int index);
    QString readValue(PollContext& context, int32_t number) const;
    int servoCount() const { return services_.state.connection.Counts.ServoCount(); }
    void draw();

    ResourceServices services_;
    WindowLifecycle lifecycle_;
    EditGuard guard_;
    std::array<WindowView*, 2> views_{};
    std::array<ServoRow, ServoRows> rows_;
    bool secondShown_ = false;
};

}  // namespace zel
