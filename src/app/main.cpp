// Tallora: the desktop program.
#include <QApplication>
#include <QDesktopServices>
#include <QFont>
#include <QUrl>

#include "gui/MainWindow.h"
#include "gui/QtDialogs.h"
#include "gui/Translations.h"
#include "platform/LocaleFormat.h"
#include "platform/QtRegistryStore.h"

int main(int argc, char** argv) {
    Q_INIT_RESOURCE(gui);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tallora"));
    QApplication::setOrganizationName(QStringLiteral("Vantorel"));
    QApplication::setApplicationVersion(QStringLiteral(TALLORA_VERSION));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/tallora.svg")));
    // The windows are laid out for an 8-point sans face.
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSize(8);
    QApplication::setFont(font);

    tallora::QtRegistryStore store;
    // The language chosen in Options, or the system's.
    tallora::InstallTranslations(QString::fromStdString(tallora::ReadLanguage(store)));
    tallora::SystemShell shell;
    tallora::QtDialogs dialogs(nullptr, &store);
    // The locale's separators and currency, or those the settings give instead.
    tallora::NumberFormat format = tallora::SystemNumberFormat();
    const std::string formatProblem = tallora::ApplyNumberFormatSettings(store, format);
    if (!formatProblem.empty()) {
        dialogs.ShowMessage(tallora::MessageKind::Warning, tallora::MessageButtons::Ok,
                            formatProblem);
    }
    tallora::DesktopServices services{
        store,
        shell,
        dialogs,
        format,
        [](const QString& path) { return QDesktopServices::openUrl(QUrl::fromLocalFile(path)); },
        [] { QApplication::quit(); }};
    tallora::MainWindow form(services);
    dialogs.SetOwner(&form);

    const QStringList arguments = QApplication::arguments();
    form.showAndStart(arguments.size() > 1 ? arguments.at(1) : QString());
    return QApplication::exec();
}
