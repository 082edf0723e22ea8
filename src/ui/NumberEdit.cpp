#include "ui/NumberEdit.h"

#include "config/KeyFilters.h"
#include "config/NumberField.h"
#include "ui/KeyTyping.h"
#include "ui/Palette.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>

#include <cstdlib>

namespace rtw::ui {

NumberEdit::NumberEdit(DeviceConfig& config, FieldId id, QWidget* parent)
    : QAbstractSpinBox(parent), FieldControl(config, id) {
    setObjectName(QString::fromStdString(info().name));
    setPalette(entryPalette(palette()));
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    lineEdit()->setText(modelText());
    connect(lineEdit(), &QLineEdit::textEdited, this,
            [this](const QString& value) { Q_EMIT edited(fieldId(), value); });
}

void NumberEdit::mirror(ChangeKind kind) {
    if (kind != ChangeKind::Text) {
        return;
    }
    const QString wanted = modelText();
    if (wanted != lineEdit()->text()) {
        lineEdit()->setText(wanted);
    }
}

QValidator::State NumberEdit::validate(QString& input, int& pos) const {
    // Every text is acceptable as typed: the range binds stepping and leaving the field.
    cutToLimit(input, pos);
    return QValidator::Acceptable;
}

QAbstractSpinBox::StepEnabled NumberEdit::stepEnabled() const {
    // Stepping clamps, so both directions always work: Up at the maximum keeps it.
    return StepUpEnabled | StepDownEnabled;
}

void NumberEdit::stepBy(int steps) {
    const StepDirection direction = steps > 0 ? StepDirection::Up : StepDirection::Down;
    for (int i = 0; i < std::abs(steps); ++i) {
        setModelText(stepNumber(info(), config().text(fieldId()), direction));
    }
    selectAll();
}

void NumberEdit::setModelText(const std::string& text) {
    config().setText(fieldId(), text);
}

void NumberEdit::keyPressEvent(QKeyEvent* event) {
    if (const auto typed = typedCharacter(*event); typed && !numberFieldAccepts(*typed)) {
        event->accept();
        playRefusedKeySound();
        return;
    }
    QAbstractSpinBox::keyPressEvent(event);
}

void NumberEdit::focusOutEvent(QFocusEvent* event) {
    // Switching to another window or opening a context menu is no leaving of the field.
    if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason) {
        setModelText(numberAfterFocusLoss(info(), config().text(fieldId())));
    }
    QAbstractSpinBox::focusOutEvent(event);
}

} // namespace rtw::ui
