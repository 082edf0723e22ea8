#pragma once
// A one-line text field: a phone-list entry. Typing passes the field's filter and its
// typed limit; a paste is not filtered, only cut to the limit.
#include "ui/FieldControl.h"
#include "ui/KeyTyping.h"

#include <QLineEdit>

namespace rtw::ui {

class PhoneEdit : public QLineEdit, public FieldControl {
    Q_OBJECT
public:
    PhoneEdit(DeviceConfig& config, FieldId id, KeyFilter filter, QWidget* parent);

    QWidget* widget() override { return this; }
    void mirror(ChangeKind kind) override;

Q_SIGNALS:
    // The user changed the text (typing, deleting, pasting).
    void edited(rtw::FieldId id, const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    bool event(QEvent* event) override;

private:
    class LimitValidator;
    KeyFilter m_filter;
};

} // namespace rtw::ui
