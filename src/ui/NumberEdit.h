#pragma once
// A number field: its decimal text kept exactly as typed ("007" stays "007"), digits and
// control characters typed (anything else beeps), Up/Down and the spin buttons step with
// clamping, and leaving the field clamps a value outside the range.
#include "ui/FieldControl.h"

#include <QAbstractSpinBox>

namespace rtw::ui {

class NumberEdit : public QAbstractSpinBox, public FieldControl {
    Q_OBJECT
public:
    NumberEdit(DeviceConfig& config, FieldId id, QWidget* parent);

    QWidget* widget() override { return this; }
    void mirror(ChangeKind kind) override;

    void stepBy(int steps) override;
    QValidator::State validate(QString& input, int& pos) const override;

Q_SIGNALS:
    void edited(rtw::FieldId id, const QString& text);

protected:
    StepEnabled stepEnabled() const override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void setModelText(const std::string& text);
};

} // namespace rtw::ui
