// The connection frame of the setup dialog: the kind and baud rate lists and the node, address,
// timeout and adapter fields, with the rules that move what the user types into the settings.
#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

#include "common/app_state.h"
#include "common/key_codes.h"
#include "setup/setup_host.h"

namespace zel {

enum class SetupField { Text1, Text2, Text3, Text4, Adapter };

// The controls a connection kind leaves enabled; the others have no meaning for it.
struct Enabling {
    bool Combo2 = false;
    bool Text1 = false;
    bool Text2 = false;
    bool Text3 = false;
    bool Adapter = false;
    bool operator==(const Enabling&) const = default;
};

Enabling enablingFor(int32_t commType);

class ConnectionFrame {
public:
    ConnectionFrame(AppState& state, SetupHost& host);

    // A freshly opened dialog: the design texts, nothing selected, the first-key flag clear.
    void reset();
    // Check the search box, select the stored kind, reset the rate to 19200, show the fields.
    void load();

    // The user's choices in Combo1 and Combo2, by list index.
    void chooseKind(int index);
    void chooseRate(int index);
    void setSearchChecked(bool checked) { searchChecked_ = checked; }
    // The field's text as the user left it after editing.
    void setText(SetupField field, const QString& text);

    // A key typed into Text1, Text2 or txtAdapter; true when the key is consumed (Enter).
    bool keyPress(SetupField field, int key);
    // Focus leaves a field.
    void leave(SetupField field);
    // The hidden counter field: every change of its text resolves the controller address.
    void setResolveIPText(const QString& text);
    // Copies the fields into the settings, as the Exit button does.
    void storeOnExit();

    static const QStringList& kindItems();
    static const QStringList& rateItems();
    int kindIndex() const { return kindIndex_; }
    int rateIndex() const { return rateIndex_; }
    const QString& text(SetupField field) const { return texts_[index(field)]; }
    Enabling enabling() const { return enablingFor(state_.settings.CommType); }
    bool searchChecked() const { return searchChecked_; }
    const QString& resolveIPText() const { return resolveIPText_; }

private:
    struct NodeRule;
    static const NodeRule& nodeRule(SetupField field);
    static size_t index(SetupField field) { return static_cast<size_t>(field); }

    void enterNodeField(SetupField field);
    int32_t clampNodeText(SetupField field, int32_t maximum);
    void storeNodeValue(SetupField field, int32_t value);
    void leaveHostNode();
    void leaveTimeout();

    AppState& state_;
    SetupHost& host_;
    std::array<QString, 5> texts_;
    int kindIndex_ = -1;
    int rateIndex_ = -1;
    bool searchChecked_ = false;
    bool firstKeyTyped_ = false;  // shared by Text1, Text2 and txtAdapter
    QString resolveIPText_;
};

}  // namespace zel
