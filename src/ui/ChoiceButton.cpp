#include "ui/ChoiceButton.h"

namespace rtw::ui {

ChoiceButton::ChoiceButton(DeviceConfig& config, FieldId id, const QString& caption,
                           QWidget* parent)
    : QRadioButton(caption, parent), FieldControl(config, id) {
    setObjectName(QString::fromStdString(info().name));
    setAutoExclusive(false);
    setChecked(config.isSelected(id));
}

void ChoiceButton::mirror(ChangeKind kind) {
    if (kind == ChangeKind::Selected) {
        setChecked(config().isSelected(fieldId()));
    }
}

void ChoiceButton::nextCheckState() {
    config().setSelected(fieldId(), true);
}

} // namespace rtw::ui
