#pragma once
// A window control that shows one field of the model. It keeps no value of its own: it
// reports the user's edits and takes the model's state whenever the model announces a
// change.
#include "config/DeviceConfig.h"

#include <QString>

class QWidget;

namespace rtw::ui {

class FieldControl {
public:
    FieldControl(DeviceConfig& config, FieldId id) : m_config(config), m_id(id) {}
    virtual ~FieldControl() = default;
    FieldControl(const FieldControl&) = delete;
    FieldControl& operator=(const FieldControl&) = delete;

    [[nodiscard]] FieldId fieldId() const { return m_id; }
    [[nodiscard]] const FieldInfo& info() const { return fieldInfo(m_id); }
    [[nodiscard]] virtual QWidget* widget() = 0;

    // Takes the model's text, enabled state or selection.
    virtual void mirror(ChangeKind kind) = 0;

protected:
    [[nodiscard]] DeviceConfig& config() const { return m_config; }
    [[nodiscard]] QString modelText() const;
    // The model's length of a text: CR LF counts two, as the model stores it.
    [[nodiscard]] static qsizetype modelLength(const QString& displayText);
    // What an edit may keep of a longer text: an insertion that would pass the typed limit
    // is cut at its end, so the field holds at most the limit, or what it held before when
    // that was longer (a text that Open put in).
    [[nodiscard]] qsizetype roomForInsertion(qsizetype lengthWithoutInsertion) const;
    // The same for a one-line edit seen as a whole, with the cursor after the insertion.
    void cutToLimit(QString& edited, int& cursor) const;

private:
    DeviceConfig& m_config;
    FieldId m_id;
};

} // namespace rtw::ui
