#pragma once

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QToolButton>
#include <array>

#include "entry/Allowances.h"
#include "gui/widgets/FilteredEdit.h"
#include "job/JobInput.h"

namespace tallora {

// A pair of spin button halves beside an allowance edit.
class SpinButton : public QWidget {
    Q_OBJECT
public:
    explicit SpinButton(QWidget* parent);
    QToolButton* Up() const { return up_; }
    QToolButton* Down() const { return down_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QToolButton* up_;
    QToolButton* down_;
};

// " Settings ": Kerf, Trim, Hold and Offcut with their spin buttons, and "Scrap all waste".
class SettingsPanel : public QGroupBox {
    Q_OBJECT
public:
    // The allowances are shown and typed in `units`, the job's.
    SettingsPanel(Allowances& allowances, const JobUnits& units, QWidget* parent);

    // The allowances changed outside the panel (start, New, a file): show them.
    void Reload();

    FilteredEdit* Edit(AllowanceField field) const { return rows_[Index(field)].edit; }
    SpinButton* Spin(AllowanceField field) const { return rows_[Index(field)].spin; }
    QCheckBox* NoOffcuts() const { return noOffcuts_; }
    QLabel* LScrap() const { return rows_[3].label; }

    // Handlers of the controls.
    void NumericSpinEditEnter(AllowanceField field);
    void EditChange(AllowanceField field);
    void EditExit(AllowanceField field);
    void DisplayChange(AllowanceField field);
    void stepUp(AllowanceField field);
    void stepDown(AllowanceField field);
    void toggleScrapAll();

signals:
    // An allowance changed: the statistics of a result follow it.
    void allowanceChanged();
    // "Scrap all waste" changed: the statistics and the cutting list follow it.
    void scrapAllChanged();
    // The user changed an allowance or the box (not the program, as a file or New does).
    void edited();

private:
    struct Row {
        QLabel* label = nullptr;
        FilteredEdit* edit = nullptr;
        SpinButton* spin = nullptr;
        QGridLayout* line = nullptr;  // caption, edit and spin button
    };
    static int Index(AllowanceField field) { return static_cast<int>(field); }
    void OffcutRule();
    void FitEdits();

    Allowances& allowances_;
    const JobUnits& units_;
    std::array<Row, 4> rows_;
    QCheckBox* noOffcuts_;
    bool reloading_ = false;
};

}  // namespace tallora
