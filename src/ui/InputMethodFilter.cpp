#include "ui/InputMethodFilter.h"

#include "ui/QtText.h"

#include <QList>

namespace rtw::ui {

QString filteredCommitString(const QString& commit, KeyFilter filter) {
    QString kept;
    for (char32_t c : commit.toUcs4()) {
        if (filterKeeps(filter, cp1252FromQChar(c))) {
            kept += QString::fromUcs4(&c, 1);
        }
    }
    return kept;
}

} // namespace rtw::ui
