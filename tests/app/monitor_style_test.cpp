// The monitor's style draws the menu bar's overflow arrow instead of loading it, so building a
// menu bar opens no image-format plugin.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QMainWindow>
#include <QMenuBar>
#include <QPixmap>
#include <cstdlib>

#include "app/monitor_style.h"

using namespace zel;

namespace {

bool imagePluginLoaded() {
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("/imageformats/");
}

bool hasInk(const QIcon& icon) {
    const QImage image = icon.pixmap(16, 16).toImage();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 0) return true;
    return false;
}

}  // namespace

// Runs in a process of its own: an earlier test in this one may have loaded the plugins.
TEST(MonitorStyle, BuildsAMenuBarWithoutImagePluginsAndStillDrawsTheArrow) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            useMonitorStyle();
            QMainWindow window;
            window.menuBar()->addMenu(QStringLiteral("&File"));
            const QIcon arrow = window.style()->standardIcon(
                QStyle::SP_ToolBarHorizontalExtensionButton, nullptr, &window);
            std::_Exit(imagePluginLoaded() ? 1 : hasInk(arrow) ? 0 : 2);
        },
        ::testing::ExitedWithCode(0), "");
}
