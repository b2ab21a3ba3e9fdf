// What every resource window's form shares: its title, placement in twips, the message box
// of the settings failures, the key and focus events of its text boxes, and the unload when
// it closes.
#pragma once

#include <QKeyEvent>
#include <QWidget>
#include <optional>

#include "common/form_keys.h"
#include "resources/resource_services.h"
#include "settings/window_placement.h"
#include "trends/trend_action.h"

class QLabel;
class QLineEdit;

namespace zel {

class ResourceForm : public QWidget {
    Q_OBJECT
public:
    ResourceForm(AppState& state, ZelLibrary& library, settings::SettingsStore& store,
                 SymbolLookup* symbols, MessageSink setMessage, QString baseTitle, QWidget* parent);

    // The window's own title followed by the connection caption.
    void retitle(const QString& connectionCaption);
    // Replaces the OK-only message box of the settings failures (tests record them).
    void setMessageBoxHandler(MessageSink handler) { messageBox_ = std::move(handler); }
    // Where Add to Trend hands the values its rows choose; until it is set the action does
    // nothing.
    void setTrendSink(TrendSink sink) { trendSink_ = std::move(sink); }

protected:
    ResourceServices services();
    // Shows the window: at `placement` when it has just loaded, titled with the caption.
    void showLoaded(const std::optional<settings::WindowPlacement>& placement);
    settings::WindowPlacement placementTwips() const;
    settings::DisplayState displayState() const;

    QLabel* newLabel(const QString& name, const QString& text = {});
    QLineEdit* newTextBox(const QString& name);
    // Gives each control of a row the Add to Trend action for what `item` names.
    void addRowTrendAction(std::initializer_list<QWidget*> row, const TrendItemSource& item);

private:
    double dpi() const;

    AppState& state_;
    ZelLibrary& library_;
    settings::SettingsStore& store_;
    SymbolLookup* symbols_;
    MessageSink setMessage_;
    MessageSink messageBox_;
    TrendSink trendSink_;
    QString baseTitle_;
    settings::PlacedWindow placed_;
};

// The object name of element r of a control array, e.g. "Text1_3".
QString controlName(const char* name, int r);

// Hands the events of the value box of row r to its window's model: leaving the box, Delete,
// and the keys it types. True when the model consumed the key.
template <typename Model>
bool forwardValueBoxEvent(Model& model, int r, QEvent* event) {
    if (leavesBox(*event)) model.valueFocusLost(r);
    if (event->type() != QEvent::KeyPress) return false;
    const auto& keyEvent = static_cast<const QKeyEvent&>(*event);
    if (isDeleteKey(keyEvent)) model.valueDelete(r);
    const std::optional<QChar> key = typedKey(keyEvent);
    return key && !model.valueKey(r, *key);
}

}  // namespace zel
