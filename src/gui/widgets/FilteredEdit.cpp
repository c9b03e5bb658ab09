#include "gui/widgets/FilteredEdit.h"

#include <QKeyEvent>

namespace tallora {

FilteredEdit::FilteredEdit(Filter filter, QWidget* parent)
    : QLineEdit(parent), filter_(std::move(filter)) {}

void FilteredEdit::keyPressEvent(QKeyEvent* event) {
    char32_t key = 0;
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            key = KeyEnter;
            break;
        case Qt::Key_Backspace:
            key = KeyBackspace;
            break;
        default: {
            const QString text = event->text();
            const bool command =
                event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
            // Keys that type nothing (arrows, Home, Delete, Tab, shortcuts) are not filtered.
            if (text.isEmpty() || command || text.front().isNull() || !text.front().isPrint()) {
                QLineEdit::keyPressEvent(event);
                return;
            }
            key = text.toUcs4().value(0);
        }
    }
    switch (filter_(key)) {
        case KeyAction::Accept:
            if (key == KeyEnter) {
                event->ignore();  // passes on, as an edit that does not swallow Enter
                return;
            }
            QLineEdit::keyPressEvent(event);
            break;
        case KeyAction::Discard:
            event->accept();
            break;
        case KeyAction::NextControl:
            event->accept();
            focusNextChild();
            break;
        case KeyAction::Commit:
            event->accept();
            emit commitRequested();
            break;
    }
}

void FilteredEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    emit focusEntered();
}

void FilteredEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    emit focusLeft();
}

}  // namespace tallora
