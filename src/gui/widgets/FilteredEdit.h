#pragma once

#include <QLineEdit>
#include <functional>

#include "entry/KeyFilters.h"

namespace tallora {

// An edit whose typed characters pass a key filter; navigation and editing keys pass as usual,
// and pasted text is not filtered.
class FilteredEdit : public QLineEdit {
    Q_OBJECT
public:
    using Filter = std::function<KeyAction(char32_t)>;
    FilteredEdit(Filter filter, QWidget* parent);

signals:
    void commitRequested();  // Enter in an edit whose filter commits
    void focusEntered();
    void focusLeft();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    Filter filter_;
};

}  // namespace tallora
