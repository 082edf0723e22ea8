#include "ui/WindowLook.h"

#include <QFontDatabase>
#include <QProxyStyle>
#include <QTabBar>

namespace rtw::ui {
namespace {

constexpr int kFontPixels = 11;
constexpr int kTabHorizontalSpace = 10;
constexpr int kTabVerticalSpace = 2;

class CompactTabStyle : public QProxyStyle {
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
};

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
    static CompactTabStyle* style = new CompactTabStyle;
    tabs.setStyle(style);
}

} // namespace rtw::ui
