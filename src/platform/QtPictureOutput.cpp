#include "platform/QtPictureOutput.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>

#include "platform/DiagramPainter.h"
#include "platform/QtPrintEngine.h"
#include "storage/SafeFile.h"

namespace tallora {

struct QtPictureOutput::State {
    // QGuiApplication keeps references to these for its lifetime.
    int argc = 1;
    char programName[12] = "tallora-cli";
    char* argv[2] = {programName, nullptr};
    std::unique_ptr<QGuiApplication> application;
    // Declared after the application, so it goes first.
    std::unique_ptr<QtPrintEngine> engine;
};

QtPictureOutput::QtPictureOutput() : state_(std::make_unique<State>()) {}

QtPictureOutput::~QtPictureOutput() = default;

void QtPictureOutput::EnsureApplication() {
    if (QCoreApplication::instance() != nullptr) return;
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    // Writing files needs no screen: without a display, draw offscreen rather than fail.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
#endif
    state_->application = std::make_unique<QGuiApplication>(state_->argc, state_->argv);
}

PrintEngine& QtPictureOutput::ReportEngine() {
    EnsureApplication();
    if (!state_->engine) state_->engine = std::make_unique<QtPrintEngine>();
    return *state_->engine;
}

std::string QtPictureOutput::SaveDiagram(const JobInput& input, const CalculationResult& result,
                                         int width, int height, const std::filesystem::path& file) {
    EnsureApplication();
    const QImage image = RenderDiagram(input, result, width, height);
    if (image.isNull()) return "the picture could not be drawn at that size";
    QByteArray png;
    QBuffer buffer(&png);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG")) {
        return "the picture could not be encoded";
    }
    // Written whole and checked, so that a full disk is an error and the old file stays.
    return WriteFileSafely(file.string(), std::string_view(png.constData(), png.size()));
}

}  // namespace tallora
