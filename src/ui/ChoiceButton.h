#pragma once
// A contact-type choice. Each choice is a field of its own and both of an input may be
// cleared, so the buttons are not exclusive among themselves: the model couples them.
#include "ui/FieldControl.h"

#include <QRadioButton>

namespace rtw::ui {

class ChoiceButton : public QRadioButton, public FieldControl {
    Q_OBJECT
public:
    ChoiceButton(DeviceConfig& config, FieldId id, const QString& caption, QWidget* parent);

    QWidget* widget() override { return this; }
    void mirror(ChangeKind kind) override;

protected:
    // A click selects; it never clears a selected choice.
    void nextCheckState() override;
};

} // namespace rtw::ui
