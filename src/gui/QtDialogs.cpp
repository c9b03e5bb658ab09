#include "gui/QtDialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QStringList>
#include <algorithm>

#include "gui/CoreTexts.h"
#include "storage/Settings.h"

namespace tallora {

namespace {

// The core's texts are English; a translation, where there is one, shows instead. Texts the
// windows made are translated already and are looked up in vain.
QString Translated(const std::string& text) { return CoreText(text); }

QString Text(const std::string& text) {
    // Messages carry CR LF line breaks.
    return Translated(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

}  // namespace

QWidget* QtDialogs::Parent() const {
    if (owner_ && owner_->isEnabled() && owner_->isVisible()) return owner_;
    return nullptr;
}

MessageAnswer QtDialogs::ShowMessage(MessageKind kind, MessageButtons buttons,
                                     const std::string& text) {
    QMessageBox box(Parent());
    box.setWindowTitle(QApplication::applicationDisplayName().isEmpty()
                           ? QStringLiteral("Tallora")
                           : QApplication::applicationDisplayName());
    box.setText(Text(text));
    switch (kind) {
        case MessageKind::Information:
            box.setIcon(QMessageBox::Information);
            break;
        case MessageKind::Warning:
            box.setIcon(QMessageBox::Warning);
            break;
        case MessageKind::Error:
            box.setIcon(QMessageBox::Critical);
            break;
        case MessageKind::Confirmation:
            box.setIcon(QMessageBox::Question);
            break;
        case MessageKind::Plain:
            box.setIcon(QMessageBox::NoIcon);
            break;
    }
    switch (buttons) {
        case MessageButtons::Ok:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case MessageButtons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            break;
        case MessageButtons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            break;
    }
    // Without a parent Qt would centre the box on the screen: over its window is where the user
    // looks.
    if (box.parentWidget() == nullptr && owner_ && owner_->isVisible()) {
        box.adjustSize();
        box.move(owner_->window()->frameGeometry().center() - box.rect().center());
    }
    switch (box.exec()) {
        case QMessageBox::Yes:
            return MessageAnswer::Yes;
        case QMessageBox::No:
            return MessageAnswer::No;
        case QMessageBox::Cancel:
            return MessageAnswer::Cancel;
        default:
            return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
    }
}

QString QtFilter(const std::string& filter) {
    const QStringList parts = Translated(filter).split(QLatin1Char('|'));
    QStringList entries;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QStringLiteral("*.*"), QStringLiteral("*"));
        entries << parts[i].section(QLatin1Char('('), 0, 0).trimmed() + QStringLiteral(" (") +
                       patterns.replace(QLatin1Char(';'), QLatin1Char(' ')) + QLatin1Char(')');
    }
    return entries.join(QStringLiteral(";;"));
}

int QtDialogs::RunFileDialog(QFileDialog& dialog) {
    constexpr const char* Name = "FileDialogGeometry";
    if (store_ != nullptr) {
        if (const auto geometry = ReadWindowGeometry(*store_, Name))
            dialog.restoreGeometry(QByteArray::fromBase64(QByteArray::fromStdString(*geometry)));
    }
    const int result = dialog.exec();
    if (store_ != nullptr)
        WriteWindowGeometry(*store_, Name, dialog.saveGeometry().toBase64().toStdString());
    return result;
}

std::optional<std::string> QtDialogs::AskOpenFileName(const FileDialogOptions& options) {
    QFileDialog dialog(Parent(), Translated(options.Title),
                       QString::fromStdString(options.InitialFolder), QtFilter(options.Filter));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QString::fromStdString(options.DefaultExtension));
    if (RunFileDialog(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
}

std::optional<std::string> QtDialogs::AskSaveFileName(const FileDialogOptions& options) {
    QFileDialog dialog(Parent(), Translated(options.Title),
                       QString::fromStdString(options.InitialFolder), QtFilter(options.Filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QString::fromStdString(options.DefaultExtension));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !options.ConfirmOverwrite);
    if (RunFileDialog(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
}

std::optional<std::string> QtDialogs::AskText(const std::string& title, const std::string& prompt,
                                              const std::string& initial) {
    bool ok = false;
    const QString text =
        QInputDialog::getText(Parent(), Translated(title), Translated(prompt), QLineEdit::Normal,
                              QString::fromStdString(initial), &ok);
    if (!ok) return std::nullopt;
    return text.toStdString();
}

std::optional<int> QtDialogs::AskChoice(const std::string& title, const std::string& prompt,
                                        const std::vector<std::string>& choices) {
    QMessageBox box(Parent());
    box.setWindowTitle(Translated(title));
    box.setText(Text(prompt));
    box.setIcon(QMessageBox::Question);
    std::vector<QPushButton*> buttons;
    for (const std::string& choice : choices)
        buttons.push_back(box.addButton(Translated(choice), QMessageBox::AcceptRole));
    box.addButton(QMessageBox::Cancel);
    if (!buttons.empty()) box.setDefaultButton(buttons.front());
    box.exec();
    const auto chosen = std::find(buttons.begin(), buttons.end(), box.clickedButton());
    if (chosen == buttons.end()) return std::nullopt;
    return static_cast<int>(chosen - buttons.begin());
}

std::optional<LabelOptions> QtDialogs::AskLabelOptions(const LabelOptions& initial) {
    QDialog dialog(Parent());
    dialog.setObjectName(QStringLiteral("LabelOptions"));
    dialog.setWindowTitle(QCoreApplication::translate("tallora", "Print Labels"));
    auto* form = new QFormLayout(&dialog);
    auto* layout = new QComboBox(&dialog);
    layout->setObjectName(QStringLiteral("LabelLayout"));
    for (const LabelLayout& l : LabelLayouts())
        layout->addItem(QCoreApplication::translate("tallora", l.Title));
    auto* start = new QSpinBox(&dialog);
    start->setObjectName(QStringLiteral("LabelStart"));
    auto margin = [&dialog](const char* name) {
        auto* box = new QDoubleSpinBox(&dialog);
        box->setObjectName(QString::fromLatin1(name));
        box->setRange(0, 100);
        box->setDecimals(1);
        box->setSuffix(QStringLiteral(" mm"));
        return box;
    };
    QDoubleSpinBox* left = margin("LabelLeftMargin");
    QDoubleSpinBox* top = margin("LabelTopMargin");
    form->addRow(QCoreApplication::translate("tallora", "&Layout:"), layout);
    form->addRow(QCoreApplication::translate("tallora", "&First free label:"), start);
    form->addRow(QCoreApplication::translate("tallora", "Left &margin:"), left);
    form->addRow(QCoreApplication::translate("tallora", "&Top margin:"), top);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    form->addRow(buttons);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);

    // A layout chosen brings its own margins and number of labels.
    auto choose = [&](int index) {
        const LabelLayout& l = LabelLayouts()[static_cast<size_t>(index)];
        start->setRange(1, l.PerPage());
        left->setValue(l.LeftMargin * 10);
        top->setValue(l.TopMargin * 10);
    };
    int chosen = 0;
    for (size_t i = 0; i < LabelLayouts().size(); ++i) {
        if (std::string(LabelLayouts()[i].Name) == initial.Layout.Name)
            chosen = static_cast<int>(i);
    }
    layout->setCurrentIndex(chosen);
    choose(chosen);
    start->setValue(initial.StartPosition);
    if (initial.LeftMargin) left->setValue(*initial.LeftMargin * 10);
    if (initial.TopMargin) top->setValue(*initial.TopMargin * 10);
    QObject::connect(layout, &QComboBox::currentIndexChanged, &dialog, choose);

    LabelOptions options;
    auto read = [&] {
        options.Layout = LabelLayouts()[static_cast<size_t>(layout->currentIndex())];
        options.StartPosition = start->value();
        options.LeftMargin = left->value() / 10;
        options.TopMargin = top->value() / 10;
    };
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&] {
        read();
        const std::string problem = LabelOptionsProblem(options);
        if (problem.empty()) {
            dialog.accept();
            return;
        }
        QMessageBox::warning(&dialog, dialog.windowTitle(), Text(problem));
    });
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return options;
}

}  // namespace tallora
