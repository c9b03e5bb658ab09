#include "gui/JobDocument.h"

#include <QUndoCommand>
#include <QUndoStack>
#include <functional>
#include <utility>

#include "entry/InputEdits.h"

namespace tallora {

namespace {

// One step of the history: the job's input before and after an edit the user has made.
class EditCommand : public QUndoCommand {
public:
    using Apply = std::function<void(const JobInput&, unsigned parts)>;
    EditCommand(Apply apply, JobInput before, JobInput after, const QString& text, int input,
                int focus)
        : QUndoCommand(text),
          apply_(std::move(apply)),
          before_(std::move(before)),
          after_(std::move(after)),
          parts_(ChangedParts(before_, after_)),
          field_(ChangedField(before_, after_)),
          input_(input),
          focus_(focus) {}

    int id() const override { return 1; }
    void undo() override { apply_(before_, parts_); }
    void redo() override {
        // Pushed after the edit was made: the first redo has nothing to do.
        if (std::exchange(done_, false)) return;
        apply_(after_, parts_);
    }
    // Keystrokes in one field make one step until the focus moves; what one key or click
    // changed in the fields (an offcut of 0 checks "Scrap all waste") is one step too. Rows
    // never merge.
    bool mergeWith(const QUndoCommand* other) override {
        const auto* next = static_cast<const EditCommand*>(other);
        const unsigned rows = InputPart::Stock | InputPart::Cut;
        if ((parts_ | next->parts_) & rows) return false;
        const bool sameField =
            field_ != InputField::None && next->field_ == field_ && next->focus_ == focus_;
        if (!sameField && next->input_ != input_) return false;
        after_ = next->after_;
        parts_ = ChangedParts(before_, after_);
        input_ = next->input_;
        focus_ = next->focus_;
        // Typed back to what it was: no step.
        setObsolete(parts_ == 0);
        return true;
    }

private:
    Apply apply_;
    JobInput before_;
    JobInput after_;
    unsigned parts_;
    InputField field_;
    int input_;
    int focus_;
    bool done_ = true;
};

}  // namespace

JobDocument::JobDocument(QObject* parent) : QObject(parent), history_(new QUndoStack(this)) {}

void JobDocument::SetResult(CalculationResult result, const Statistics& stats, bool valid) {
    result_ = std::move(result);
    stats_ = stats;
    hasResults_ = valid;
}

void JobDocument::ClearResult() {
    result_ = {};
    stats_ = {};
    hasResults_ = false;
}

void JobDocument::RecordEdit(const QString& what, int input, int focus) {
    if (ChangedParts(recorded_, input_) == 0) return;
    const QString text =
        what.isEmpty() ? QString::fromStdString(FieldEditName(ChangedField(recorded_, input_)))
                       : what;
    auto apply = [this](const JobInput& from, unsigned parts) { Restore(from, parts); };
    auto* step = new EditCommand(apply, std::move(recorded_), input_, text, input, focus);
    recorded_ = input_;
    history_->push(step);
}

void JobDocument::ResetHistory() {
    history_->clear();
    recorded_ = input_;
}

void JobDocument::Restore(const JobInput& from, unsigned parts) {
    const bool scrapAll =
        (parts & InputPart::Allowances) && from.Allowances.NoOffcuts != input_.Allowances.NoOffcuts;
    PutInputs(input_, from, parts);
    recorded_ = input_;
    emit inputRestored(parts, scrapAll);
}

}  // namespace tallora
