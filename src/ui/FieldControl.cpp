#include "ui/FieldControl.h"

#include "ui/QtText.h"

#include <QList>

#include <algorithm>

namespace rtw::ui {

QString FieldControl::modelText() const {
    return qStringFromCp1252(m_config.text(m_id));
}

qsizetype FieldControl::modelLength(const QString& displayText) {
    qsizetype length = 0;
    for (char32_t c : displayText.toUcs4()) {
        length += (c == U'\n' || c == U'\u2029') ? 2 : 1;
    }
    return length;
}

qsizetype FieldControl::roomForInsertion(qsizetype lengthWithoutInsertion) const {
    const auto before = static_cast<qsizetype>(m_config.text(m_id).size());
    const qsizetype limit = std::max<qsizetype>(info().typedLimit, before);
    return std::max<qsizetype>(0, limit - lengthWithoutInsertion);
}

void FieldControl::cutToLimit(QString& edited, int& cursor) const {
    const qsizetype excess = modelLength(edited) - roomForInsertion(0);
    if (excess > 0) {
        const qsizetype cut = std::min<qsizetype>(excess, cursor);
        edited.remove(cursor - cut, cut);
        cursor -= static_cast<int>(cut);
    }
}

} // namespace rtw::ui
