#include "ui/PhoneEdit.h"

#include "ui/InputMethodFilter.h"
#include "ui/Palette.h"
#include "ui/QtText.h"

#include <QKeyEvent>
#include <QValidator>

#include <algorithm>

namespace rtw::ui {

// Runs on every edit by the user and on every text the window sets; only an edit that
// grows the text past the limit is cut.
class PhoneEdit::LimitValidator : public QValidator {
public:
    explicit LimitValidator(PhoneEdit& edit) : QValidator(&edit), m_edit(edit) {}

    State validate(QString& input, int& pos) const override {
        m_edit.cutToLimit(input, pos);
        return Acceptable;
    }

private:
    PhoneEdit& m_edit;
};

PhoneEdit::PhoneEdit(DeviceConfig& config, FieldId id, KeyFilter filter, QWidget* parent)
    : QLineEdit(parent), FieldControl(config, id), m_filter(filter) {
    setObjectName(QString::fromStdString(info().name));
    setPalette(entryPalette(palette()));
    setValidator(new LimitValidator(*this));
    setText(modelText());
    setEnabled(config.isEnabled(id));
    connect(this, &QLineEdit::textEdited, this,
            [this](const QString& value) { Q_EMIT edited(fieldId(), value); });
}

void PhoneEdit::mirror(ChangeKind kind) {
    if (kind == ChangeKind::Enabled) {
        setEnabled(config().isEnabled(fieldId()));
        return;
    }
    const QString wanted = modelText();
    if (wanted != text()) {
        const int cursor = cursorPosition();
        setText(wanted);
        if (hasFocus()) {
            setCursorPosition(std::min(cursor, static_cast<int>(wanted.size())));
        }
    }
}

void PhoneEdit::keyPressEvent(QKeyEvent* event) {
    if (const auto typed = typedCharacter(*event); typed && !filterKeeps(m_filter, *typed)) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void PhoneEdit::inputMethodEvent(QInputMethodEvent* event) {
    QInputMethodEvent filtered(event->preeditString(), event->attributes());
    filtered.setCommitString(filteredCommitString(event->commitString(), m_filter),
                             event->replacementStart(), event->replacementLength());
    QLineEdit::inputMethodEvent(&filtered);
}

bool PhoneEdit::event(QEvent* event) {
    // A grey entry shows its own hint too, else the one of the control around it.
    return QLineEdit::event(event);
}

} // namespace rtw::ui
