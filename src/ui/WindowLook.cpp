#include "ui/WindowLook.h"

#include <QFontDatabase>
#include <QGroupBox>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOption>
#include <QTabBar>
#include <qdrawutil.h>

namespace rtw::ui {
namespace {

constexpr int kFontPixels = 11;
constexpr int kTabHorizontalSpace = 10;
constexpr int kTabVerticalSpace = 2;

// Applied to single widgets (tab bars, group boxes), never to their children.
class WindowLookStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        if (metric == PM_TabBarTabHSpace) {
            return kTabHorizontalSpace;
        }
        if (metric == PM_TabBarTabVSpace) {
            return kTabVerticalSpace;
        }
        return QProxyStyle::pixelMetric(metric, option, widget);
    }

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        if (element == PE_FrameGroupBox) {
            qDrawShadeRect(painter, option->rect, option->palette, true, 1, 0, nullptr);
            return;
        }
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
};

WindowLookStyle& windowLookStyle() {
    static WindowLookStyle* style = new WindowLookStyle;
    return *style;
}

} // namespace

QFont windowFont() {
    // One family, resolved here: a list of families is not kept through every style.
    static const QString family = [] {
        for (const char* candidate :
             {"MS Sans Serif", "Microsoft Sans Serif", "Liberation Sans", "Arimo", "Arial",
              "Nimbus Sans", "Helvetica", "FreeSans", "DejaVu Sans"}) {
            if (QFontDatabase::hasFamily(QString::fromLatin1(candidate))) {
                return QString::fromLatin1(candidate);
            }
        }
        return QString();
    }();
    QFont font;
    if (!family.isEmpty()) {
        font.setFamily(family);
    }
    font.setPixelSize(kFontPixels);
    return font;
}

void useCompactTabs(QTabBar& tabs) {
    tabs.setStyle(&windowLookStyle());
}

void usePlainGroupFrame(QGroupBox& group) {
    group.setStyle(&windowLookStyle());
}

} // namespace rtw::ui
