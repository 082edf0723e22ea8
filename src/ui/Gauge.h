#pragma once
// A horizontal progress bar, navy on white with a single border, showing the whole
// percentage, rounded down, in its middle.
#include <QWidget>

namespace rtw::ui {

class Gauge : public QWidget {
    Q_OBJECT
public:
    static constexpr int kMinimum = 0;
    static constexpr int kMaximum = 4080; // the address of the last image block

    explicit Gauge(QWidget* parent);

    // A value outside the range counts as the nearer bound. The bar repaints only when
    // the shown percentage changes.
    void setProgress(int value);
    [[nodiscard]] int progress() const { return m_value; }
    [[nodiscard]] int percentDone() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_value = kMinimum;
};

} // namespace rtw::ui
