#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTreeView>
#include <memory>

#include "gui/MainWindow.h"
#include "support/MemoryRegistry.h"
#include "support/StorageTestSupport.h"

namespace tallora::testing {

// Scripted boxes that also let a test look at the windows while a box is up.
struct DesktopDialogs : ScriptedDialogs {
    std::function<void(const std::string&)> watch;
    MessageAnswer ShowMessage(MessageKind kind, MessageButtons buttons,
                              const std::string& text) override {
        if (watch) watch(text);
        return ScriptedDialogs::ShowMessage(kind, buttons, text);
    }
};

// A main window over an in-memory registry, a temporary data folder and scripted boxes.
struct Desktop {
    TempFolder temp;
    MemoryRegistry store;
    FakeShell shell;
    DesktopDialogs dialogs;
    std::vector<QString> opened;
    bool openWorks = true;  // a program can be started to show a document
    int quits = 0;
    std::unique_ptr<MainWindow> form;

    Desktop() {
        shell.appData = temp.File("appdata");
        shell.program = temp.File("bin");
    }
    MainWindow& Start(const QString& commandLine = {}) {
        auto open = [this](const QString& path) {
            opened.push_back(path);
            return openWorks;
        };
        // As Qt's quit does: every window is asked to close.
        auto quit = [this] {
            ++quits;
            form->close();
        };
        form = std::make_unique<MainWindow>(
            DesktopServices{store, shell, dialogs, NumberFormat::UK(), open, quit});
        form->showAndStart(commandLine);
        QApplication::setActiveWindow(form.get());
        return *form;
    }
    std::string DataDir() const { return shell.appData + "/Vantorel/Tallora/Cutting Lists"; }
    // The last message shown, or empty when none was.
    std::string Said() const { return dialogs.messages.empty() ? "" : dialogs.messages.back(); }
    bool SaidPart(const std::string& part) const { return Said().find(part) != std::string::npos; }
    // A job of one unlimited 6000 stock length and the cut rows given, calculated.
    void Calculated(std::initializer_list<std::pair<const char*, const char*>> cuts = {
                        {"3", "1500"}});

    template <typename T = QWidget>
    T* Find(const char* name) const {
        T* widget = form->findChild<T*>(QString::fromLatin1(name));
        if (widget == nullptr) ADD_FAILURE() << "no widget " << name;
        return widget;
    }
    // Types into an edit as a user would, then presses Enter.
    void Type(const char* edit, const QString& text, bool enter = false) {
        QLineEdit* line = Find<QLineEdit>(edit);
        line->setFocus();
        QTest::keyClicks(line, text);
        if (enter) QTest::keyClick(line, Qt::Key_Return);
    }
    void AddStock(const QString& quantity, const QString& length) {
        Type("SQEdit", quantity, true);
        Type("SLEdit", length, true);
    }
    void AddCut(const QString& quantity, const QString& length) {
        Type("CQEdit", quantity, true);
        Type("CLEdit", length, true);
    }
    void Click(const char* button) const;
    QString Text(const char* label) const;
};

// Puts text on the clipboard and presses Ctrl+V in the target.
void Paste(QWidget* target, const QString& text);
// Clicks a row of a list, with Ctrl to add it to the selection.
void ClickRow(QTreeView* list, int row, Qt::KeyboardModifiers modifiers = {});

// Calculate, as the tool button does, and wait until the calculation has ended.
void CalculateAndWait(MainWindow& form);
// Waits for a calculation that is running, if any, to end.
void WaitForCalculation(MainWindow& form);

}  // namespace tallora::testing
