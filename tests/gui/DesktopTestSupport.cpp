#include "gui/DesktopTestSupport.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QSignalSpy>

namespace tallora::testing {

void Desktop::Click(const char* button) const {
    auto* b = Find<QAbstractButton>(button);
    if (b != nullptr) QTest::mouseClick(b, Qt::LeftButton);
}

void Desktop::Calculated(std::initializer_list<std::pair<const char*, const char*>> cuts) {
    AddStock("*", "6000");
    for (const auto& [quantity, length] : cuts) AddCut(quantity, length);
    CalculateAndWait(*form);
    EXPECT_TRUE(form->ResultsValid());
}

void CalculateAndWait(MainWindow& form) {
    form.calculate();
    WaitForCalculation(form);
}

void WaitForCalculation(MainWindow& form) {
    if (!form.Calculating()) return;
    QSignalSpy finished(&form, &MainWindow::calculationFinished);
    EXPECT_TRUE(finished.wait(60000)) << "the calculation did not end";
}

QString Desktop::Text(const char* label) const {
    if (auto* l = form->findChild<QLabel*>(QString::fromLatin1(label))) return l->text();
    if (auto* e = form->findChild<QLineEdit*>(QString::fromLatin1(label))) return e->text();
    ADD_FAILURE() << "no label " << label;
    return {};
}

void Paste(QWidget* target, const QString& text) {
    QGuiApplication::clipboard()->setText(text);
    QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
}

void ClickRow(QTreeView* list, int row, Qt::KeyboardModifiers modifiers) {
    QApplication::processEvents();
    const QRect rect = list->visualRect(list->model()->index(row, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, rect.center());
}

}  // namespace tallora::testing
