#include "ui/MemoEdit.h"

#include "ui/InputMethodFilter.h"
#include "ui/QtText.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QList>
#include <QMenu>
#include <QMimeData>
#include <QTextCursor>

#include <algorithm>

namespace rtw::ui {
namespace {

constexpr char kEnter = 13;
constexpr char kCtrlV = 22;

// The first characters of a text that fit into the given model length.
QString cutToModelLength(const QString& text, qsizetype room) {
    QString out;
    for (char32_t c : text.toUcs4()) {
        const qsizetype need = c == U'\n' ? 2 : 1;
        if (need > room) {
            break;
        }
        room -= need;
        out += QString::fromUcs4(&c, 1);
    }
    return out;
}

QString withLineFeeds(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

} // namespace

MemoEdit::MemoEdit(DeviceConfig& config, FieldId id, KeyFilter filter, QWidget* parent)
    : QPlainTextEdit(parent), FieldControl(config, id), m_filter(filter) {
    setObjectName(QString::fromStdString(info().name));
    setTabChangesFocus(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    document()->setDocumentMargin(1);
    mirror(ChangeKind::Text);
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_mirroring) {
            Q_EMIT edited(fieldId(), toPlainText());
        }
    });
}

void MemoEdit::mirror(ChangeKind kind) {
    if (kind != ChangeKind::Text) {
        return;
    }
    const QString wanted = displayFromModelLines(modelText());
    if (wanted == toPlainText()) {
        return;
    }
    const int position = textCursor().position();
    m_mirroring = true;
    setPlainText(wanted);
    m_mirroring = false;
    if (hasFocus()) {
        QTextCursor cursor = textCursor();
        cursor.setPosition(std::min(position, static_cast<int>(document()->characterCount() - 1)));
        setTextCursor(cursor);
    }
}

qsizetype MemoEdit::lengthWithoutSelection() const {
    return modelLength(toPlainText()) - modelLength(textCursor().selectedText());
}

void MemoEdit::keyPressEvent(QKeyEvent* event) {
    if (const auto typed = typedCharacter(*event)) {
        if (!filterKeeps(m_filter, *typed)) {
            event->accept();
            return;
        }
        const auto code = static_cast<unsigned char>(*typed);
        const qsizetype inserts = code == kEnter ? 2 : (code >= 32 ? 1 : 0);
        if (inserts > 0 && roomForInsertion(lengthWithoutSelection()) < inserts) {
            event->accept();
            return;
        }
    }
    QPlainTextEdit::keyPressEvent(event);
}

void MemoEdit::inputMethodEvent(QInputMethodEvent* event) {
    const QString commit = cutToModelLength(filteredCommitString(event->commitString(), m_filter),
                                            roomForInsertion(lengthWithoutSelection()));
    QInputMethodEvent filtered(event->preeditString(), event->attributes());
    filtered.setCommitString(commit, event->replacementStart(), event->replacementLength());
    QPlainTextEdit::inputMethodEvent(&filtered);
}

void MemoEdit::insertFromMimeData(const QMimeData* source) {
    if (source == nullptr || !source->hasText()) {
        return;
    }
    const QString text =
        cutToModelLength(withLineFeeds(source->text()), roomForInsertion(lengthWithoutSelection()));
    QMimeData cut;
    cut.setText(text);
    QPlainTextEdit::insertFromMimeData(&cut);
}

} // namespace rtw::ui

namespace rtw::ui {

void MemoEdit::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = createStandardContextMenu(event->pos());
    if (!filterKeeps(m_filter, kCtrlV)) {
        // Ctrl+V types a refused control code here: the menu must not offer it as the
        // way to paste, though pasting from the menu itself works.
        for (QAction* action : menu->actions()) {
            if (action->objectName() == QLatin1String("edit-paste")) {
                action->setText(action->text().section(QLatin1Char('\t'), 0, 0));
            }
        }
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

} // namespace rtw::ui
