// The application's widget style: the one Qt would choose (the -style argument, the environment
// or the platform's default), with the menu bars' overflow arrow drawn rather than loaded.
//
// Qt loads that arrow from an image file whenever a menu bar is built, and reading an image by
// file name makes it open every image-format plugin installed to ask which one reads it. At
// start-up that is a millisecond and half a megabyte for an arrow that only shows when the
// window is too narrow for its menus.
#pragma once

#include <QProxyStyle>

namespace zel {

class MonitorStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    QIcon standardIcon(StandardPixmap icon, const QStyleOption* option,
                       const QWidget* widget) const override;
};

// Puts the monitor's style over the application's; call once the QApplication exists and before
// any window is built.
void useMonitorStyle();

}  // namespace zel
