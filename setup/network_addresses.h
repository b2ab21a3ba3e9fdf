// The collapsible network address frame (Frame1) of the setup dialog: reads the controller's own
// IP address, subnet mask, gateway, node number and MAC address, and writes them back on Apply.
#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <optional>

#include "common/app_state.h"
#include "setup/connection_frame.h"
#include "setup/setup_host.h"
#include "link/zel_library.h"

namespace zel {

// txtAddress 0..3 IP address, 4..7 subnet mask, 8..11 gateway, 12 the controller's node.
inline constexpr int kAddressFieldCount = 13;
inline constexpr int kOctetFieldCount = 12;
inline constexpr int kNodeField = 12;

// Frame1's height in twips, closed and open.
inline constexpr int32_t kFrameClosedTwips = 255;
inline constexpr int32_t kFrameOpenTwips = 2500;

// "00", register 20005 in hexadecimal, register 20006 as six hexadecimal digits.
QString macIdText(int32_t high, int32_t low);

class NetworkAddresses {
public:
    // Node and address texts found or written also go to the connection frame's fields.
    NetworkAddresses(AppState& state, ZelLibrary& library, SetupHost& host,
                     ConnectionFrame& connection);

    // Closed, with empty fields, as a freshly opened dialog shows it.
    void reset();
    // A click on the frame's caption opens it (and reads the controller) or closes it.
    void clickFrame();
    // Fills the fields from the controller; does nothing without a connection.
    void GetAddresses();
    // Writes the node and the twelve octets, then tells the controller to take them.
    void apply();

    void clickField(int field);
    // The field's text after the user changed it; kept only as the number it starts with.
    void setFieldText(int field, const QString& text);
    // True when the key moved the focus on and is therefore not typed into the field.
    bool keyPress(int field, int key);
    // Where the focus must go, once; the form moves it.
    std::optional<int> takeFocusRequest();

    bool isOpen() const { return open_; }
    int32_t heightTwips() const { return open_ ? kFrameOpenTwips : kFrameClosedTwips; }
    QString caption() const;
    const QString& fieldText(int field) const { return fields_[static_cast<size_t>(field)]; }
    const QString& macText() const { return macText_; }

private:
    bool refusedWhileClaimed();
    bool readRegister(int32_t number, int32_t& value);
    bool readIntoField(int32_t number, int field);
    bool readOctets(int firstField);
    bool readNode();
    void readMac();
    bool writeRegister(int32_t number, int32_t value);
    bool writeOctets();
    // Text3 and ControllerIP take the IP address fields joined by dots.
    void showIpInConnection();
    void reportFailure(const QString& phrase);

    AppState& state_;
    ZelLibrary& library_;
    SetupHost& host_;
    ConnectionFrame& connection_;
    bool open_ = false;
    std::array<QString, kAddressFieldCount> fields_;
    QString macText_;
    std::optional<int> focusRequest_;
};

}  // namespace zel
