// The DDE window's rules: its data items, its entry boxes, the writes, the start and cancel of
// the exchange, the update interval, its execute commands, and its block of the polling tick.
// No widgets: the form and the bus service that serves the items to other programs both
// drive it by control name and draw it from its change notices.
//
// Entry boxes: "FlagAddress", "RegAddress", "Reg50Address" and "DDENode" (address boxes),
// "FlagWrite" and "RegWrite" (write boxes), "BlockAddress(n)" and "BlockWrite(n)" for the
// sixteen free entries. Display items: "FlagValue(1..32)", "RegValue(1..50)", "RegRead",
// "BlockRead(1..16)", the row labels "lblFlag(0..3)" and "lblReg(0..9)", "DdeInterval",
// "Message", "lblLink" (the link for other programs) and the caption of "Command3d1".
#pragma once

#include <QString>
#include <functional>
#include <optional>

#include "common/app_state.h"
#include "dde/dde_commands.h"
#include "dde/dde_items.h"
#include "link/poll_block.h"
#include "link/zel_library.h"

namespace zel {

inline constexpr int kDdeFlags = 32;
inline constexpr int kDdeBlockRegisters = 50;
inline constexpr int kDdeFreeEntries = 16;
inline constexpr int kDdeIntervalFloor = 10;    // milliseconds
inline constexpr int kDdeIntervalCeiling = 32000;

class DdeModel final : public PollBlock {
public:
    struct Hooks {
        std::function<void(const QString&)> setMessage;  // the main window's status line
        std::function<void(int)> setPollingInterval;     // the polling tick's interval, ms
        std::function<void()> hide;                      // hides the window
        DdeItems::Notice changed;                        // the changed items
    };

    DdeModel(AppState& state, ZelLibrary& library, Hooks hooks);

    // Fills the boxes from the settings and shows the status that matches DdeActive. Its
    // notice, the first, carries every item.
    void load();

    QString item(const QString& name) const { return items_.text(name); }
    QStringList itemNames() const { return items_.names(); }
    bool editing() const { return editing_.has_value(); }

    // A key typed into an entry box, before the box takes it; Enter is kEnterKey. True
    // when the key is swallowed (Enter).
    bool keyPress(const QString& box, char16_t key);
    // The text of an entry box has changed (typed, or set by a client). False for a name that
    // is no entry box, which changes nothing.
    bool textChanged(const QString& box, const QString& text);
    void focusLost(const QString& box);

    // "Start DDE" / "Cancel DDE".
    void toggleExchange();
    // A client opened a link to the window's topic (true): the exchange runs, whatever Cancel
    // DDE did before. Or the last open link closed (false): it stops.
    void clientLinked(bool linked);
    // "&Write Block Data": the free entries with a value to write.
    void writeBlockData();
    // The interval slider; below the floor it is raised to the floor.
    void setInterval(int milliseconds);
    // The status line of the window, as the main window sets it on a connection or a suspend.
    void showMessage(const QString& text);
    // The setup dialog changed the target node.
    void setNode(const QString& text) { textChanged(QStringLiteral("DDENode"), text); }
    // Empties a write box after another window wrote the same kind of value.
    void emptyRegWrite() { setBox(QStringLiteral("RegWrite"), {}); }
    void emptyFlagWrite() { setBox(QStringLiteral("FlagWrite"), {}); }

    // "START", "EXIT" or "DOWNLOAD", in any case; false for any other text, which changes
    // nothing.
    bool execute(const QString& command);

    // A client's write: the box takes the text as if typed, and an address or write box then
    // Enter, with its clamp, its write and its restart of the exchange. False for a name that
    // is no entry box.
    bool poke(const QString& box, const QString& text);
    // Why a client's write into `box`, or its command, cannot be carried out now: it would
    // reach the controller while a transfer holds the link. Empty when it can go ahead.
    std::optional<QString> pokeRefusal(const QString& box) const;
    std::optional<QString> executeRefusal(const QString& command) const;
    // The window, when it is made after the model: its hide and its change notices, with at
    // once one notice that carries every item as it stands. Empty hooks detach it.
    void setWindow(std::function<void()> hide, DdeItems::Notice changed);
    // A second receiver of the change notices, beside the window; empty to stop.
    void setServiceNotice(DdeItems::Notice notice) { serviceNotice_ = std::move(notice); }
    // "lblLink": whether other programs can reach the items, and under which name.
    void setLinkStatus(const QString& text);

    // PollBlock: runs while the exchange runs.
    bool isOpen() const override { return state_.flags.DdeActive; }
    void refresh(PollContext& context) override;

private:
    enum class Box { FlagAddress, RegAddress, Reg50Address, DDENode, FlagWrite, RegWrite, Free };

    std::optional<Box> boxOf(const QString& name) const;
    void setBox(const QString& box, const QString& text);
    void setActive(bool active);
    void applyAddress(const QString& box, Box kind);
    void copyAddress(Box kind, int32_t value);
    void writeFlag();
    void writeRegister();
    void labelRegisterRows(int32_t block);
    int32_t boxValue(const QString& box) const;
    void put(int32_t number, int32_t value, const char* failure);
    bool writeRefused();
    // A read for the tick; false after a failure, which the tick handles as all its reads.
    bool read(PollContext& context, int32_t number, int32_t& value);
    void refreshFlags(PollContext& context, int32_t flag);
    void refreshFreeEntries(PollContext& context);

    AppState& state_;
    ZelLibrary& library_;
    Hooks hooks_;
    DdeItems::Notice serviceNotice_;
    DdeItems items_;
    std::optional<QString> editing_;  // the box being typed into (DdeEditing)
};

}  // namespace zel
