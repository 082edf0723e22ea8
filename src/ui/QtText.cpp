#include "ui/QtText.h"

#include "config/Cp1252.h"

#include <QList>

namespace rtw::ui {

QString qStringFromCp1252(std::string_view cp1252) {
    QString out;
    out.reserve(static_cast<qsizetype>(cp1252.size()));
    for (char byte : cp1252) {
        // Every CP1252 code point lies in the Basic Multilingual Plane.
        out += QChar(static_cast<char16_t>(unicodeFromCp1252(static_cast<unsigned char>(byte))));
    }
    return out;
}

std::string cp1252FromQString(const QString& text) {
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    for (char32_t codePoint : text.toUcs4()) {
        out += cp1252FromUnicode(codePoint);
    }
    return out;
}

char cp1252FromQChar(char32_t codePoint) {
    return cp1252FromUnicode(codePoint);
}

QString displayFromModelLines(const QString& modelText) {
    QString out = modelText;
    out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return out;
}

} // namespace rtw::ui
