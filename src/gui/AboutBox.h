#pragma once

#include <QDialog>

namespace tallora {

// The program's name, icon and version.
class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget* parent = nullptr);
};

}  // namespace tallora
