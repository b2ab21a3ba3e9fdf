#include "app/monitor_style.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QStyleFactory>

namespace zel {
namespace {

// A double chevron in the text colour, drawn at whatever size the button asks for.
class OverflowArrow : public QIconEngine {
public:
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        const QPalette::ColorGroup group =
            mode == QIcon::Disabled ? QPalette::Disabled : QPalette::Active;
        QPen pen(QApplication::palette().color(group, QPalette::WindowText));
        pen.setWidthF(1.5);
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(pen);
        const QRectF box = QRectF(rect).adjusted(rect.width() * 0.25, rect.height() * 0.3,
                                                 -rect.width() * 0.25, -rect.height() * 0.3);
        const qreal half = box.width() / 2;
        for (const qreal left : {box.left(), box.left() + half}) {
            const QPointF tip(left + half, box.center().y());
            painter->drawLine(QPointF(left, box.top()), tip);
            painter->drawLine(tip, QPointF(left, box.bottom()));
        }
        painter->restore();
    }
    QIconEngine* clone() const override { return new OverflowArrow; }
};

}  // namespace

QIcon MonitorStyle::standardIcon(StandardPixmap icon, const QStyleOption* option,
                                 const QWidget* widget) const {
    if (icon == SP_ToolBarHorizontalExtensionButton) return QIcon(new OverflowArrow);
    return QProxyStyle::standardIcon(icon, option, widget);
}

void useMonitorStyle() {
    // The proxy owns its base style, and the application owns its own: wrap a fresh instance
    // of the same style rather than the application's.
    QApplication::setStyle(new MonitorStyle(QStyleFactory::create(QApplication::style()->name())));
}

}  // namespace zel
