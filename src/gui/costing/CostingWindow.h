#pragma once

#include <QDialog>
#include <array>
#include <string>
#include <vector>

#include "commands/Dialogs.h"
#include "costing/CostingSheet.h"
#include "job/CalculationResult.h"
#include "job/JobInput.h"
#include "results/NumberFormat.h"
#include "results/Statistics.h"
#include "storage/RegistryStore.h"

class QGridLayout;
class QGroupBox;
class QHBoxLayout;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStatusBar;
class QTableWidget;
class QLabel;

namespace tallora {

// What the costing window hands back when it closes: the main window writes the texts into its
// cost and weight fields, takes the values and the basis, and recompiles its statistics.
struct CostingOutcome {
    std::string CostText;
    double Cost = 0.0;
    std::string CostType;  // "Tonne" or "Metre"
    std::string WeightText;
    double Weight = 0.0;
};

// The material costing window. It prices the job it was made with: the cutting charge and the
// three further charges are edited in the job's costing settings at once; the material rate,
// basis and weight are working copies handed back at close.
class CostingWindow : public QDialog {
    Q_OBJECT
public:
    // Made once, before any job file is read: loads the charge names from the registry into the
    // job's costing settings. `format` is the system's currency format.
    CostingWindow(JobInput& input, const CalculationResult& result, Dialogs& dialogs,
                  RegistryStore& store, NumberFormat format, QWidget* parent = nullptr);

    // The main window's CostingButtonClick: shows the window modally for the job's section cost,
    // weight and cost type and the statistics of its result.
    CostingOutcome Execute(double sectionCost, double sectionWeight, const std::string& costType,
                           const Statistics& stats);

    // The steps of Execute, for driving the window without a modal loop: the opening command's
    // part, then FormShow, then FormClose.
    void Prepare(double sectionCost, double sectionWeight, const std::string& costType,
                 const Statistics& stats);
    void FormShow();
    CostingOutcome FormClose();

    // Charge names for job files and autosave: empty where a name is its default.
    std::array<std::string, 3> NamesForStoring() const;
    // Stored names replace the current ones unless empty; the registry is not written.
    void SetNamesFromStorage(const std::array<std::string, 3>& stored);
    // After a job file or a recovery set the job's charge names: rebuilds the captions.
    void ReloadNames();

    // Handlers.
    void MakeCostingSheet();
    void copyToClipboard();
    void renameCharge(int charge);  // double-click on the group of charge 1, 2 or 3

    const CostingSheet& Sheet() const { return sheet_; }
    const MaterialPrice& Material() const { return material_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct ChargeGroup {
        QGroupBox* Group = nullptr;
        QLineEdit* Edit = nullptr;
        std::vector<QRadioButton*> Radios;
        std::vector<const char*> Codes;  // a code per radio button
    };

    // The bases and the weight in the job's units: per ton, hundredweight or foot, lb/ft.
    void ShowUnits();
    QLabel* weightUnit_ = nullptr;
    QRadioButton* matCwt_ = nullptr;
    QGridLayout* matChoices_ = nullptr;  // the material group's choices

    void CreateControls();
    void CreateChargeGroups(QHBoxLayout* row);
    QTableWidget* CreateTable();
    QWidget* CreateButtons();
    ChargeGroup MakeGroup(QHBoxLayout* row, const char* name, const QString& caption, int width,
                          const char* editName,
                          const std::vector<std::pair<const char*, const char*>>& radios,
                          const std::vector<const char*>& codes);
    void Connect(ChargeGroup& group, double* value, std::string* basis);
    void ApplyNames();
    void WriteNames();
    void ShowBasis(const ChargeGroup& group, const std::string& basis);
    void ShowValue(QLineEdit* edit, double value, int decimals);
    void FitColumns();

    JobInput& input_;
    const CalculationResult& result_;
    Dialogs& dialogs_;
    RegistryStore& store_;
    NumberFormat format_;
    Statistics stats_;
    MaterialPrice material_;
    CostingSheet sheet_;

    ChargeGroup matCost_;
    QLineEdit* weightEdit_ = nullptr;
    ChargeGroup cut_;
    std::array<ChargeGroup, 3> others_;  // GalvGroup, PaintGroup, OtherGroup
    QTableWidget* list_ = nullptr;
    QPushButton* copyButton_ = nullptr;
    QStatusBar* statusBar_ = nullptr;
    bool showing_ = false;  // FormShow is rewriting the fields
};

}  // namespace tallora
