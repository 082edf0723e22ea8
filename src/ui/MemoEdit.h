#pragma once
// A multi-line text field: an SMS text (or a hidden DTMF code). Typing passes the filter
// and the typed limit; Enter types nothing into an SMS text because its filter refuses
// code 13. A paste is not filtered, only cut to the limit.
#include "ui/FieldControl.h"
#include "ui/KeyTyping.h"

#include <QPlainTextEdit>

namespace rtw::ui {

class MemoEdit : public QPlainTextEdit, public FieldControl {
    Q_OBJECT
public:
    MemoEdit(DeviceConfig& config, FieldId id, KeyFilter filter, QWidget* parent);

    QWidget* widget() override { return this; }
    void mirror(ChangeKind kind) override;

Q_SIGNALS:
    void edited(rtw::FieldId id, const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // The model length of the text once the selection is gone.
    [[nodiscard]] qsizetype lengthWithoutSelection() const;

    KeyFilter m_filter;
    bool m_mirroring = false;
};

} // namespace rtw::ui
