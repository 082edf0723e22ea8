#include "ui/Gauge.h"

#include "wire/ProtocolConstants.h"

#include <QPainter>

#include <algorithm>

namespace rtw::ui {

static_assert(Gauge::kMaximum == wire::kLastImageBlock);

namespace {

const QColor kBarColour{0, 0, 128}; // navy
const QColor kBackColour{255, 255, 255};

int percentOf(int value) {
    return static_cast<int>(static_cast<long long>(value - Gauge::kMinimum) * 100 /
                            (Gauge::kMaximum - Gauge::kMinimum));
}

} // namespace

Gauge::Gauge(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

int Gauge::percentDone() const {
    return percentOf(m_value);
}

void Gauge::setProgress(int value) {
    const int clamped = std::clamp(value, kMinimum, kMaximum);
    const bool repaint = percentOf(clamped) != percentOf(m_value);
    m_value = clamped;
    if (repaint) {
        update();
    }
}

void Gauge::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect frame = rect();
    painter.setPen(Qt::black);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(frame.adjusted(0, 0, -1, -1));

    const QRect inside = frame.adjusted(1, 1, -1, -1);
    const int barWidth = static_cast<int>(static_cast<long long>(inside.width()) *
                                          (m_value - kMinimum) / (kMaximum - kMinimum));
    const QRect bar(inside.left(), inside.top(), barWidth, inside.height());
    const QRect rest(inside.left() + barWidth, inside.top(), inside.width() - barWidth,
                     inside.height());
    painter.fillRect(bar, kBarColour);
    painter.fillRect(rest, kBackColour);

    // The text takes the other colour over the bar, so it stays readable at every value.
    const QString text = QString::number(percentDone()) + QLatin1Char('%');
    painter.setClipRect(rest);
    painter.setPen(kBarColour);
    painter.drawText(inside, Qt::AlignCenter, text);
    painter.setClipRect(bar);
    painter.setPen(kBackColour);
    painter.drawText(inside, Qt::AlignCenter, text);
}

} // namespace rtw::ui
