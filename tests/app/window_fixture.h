#pragma once
// A main window as the program builds it, with a scripted user and empty temporary folders, and
// helpers to find its controls by name.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLocale>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <memory>

#include "app/about.h"
#include "app/codedialog.h"
#include "app/folderdialog.h"
#include "app/mainwindow.h"
#include "app/waitdialog.h"
#include "support/scripted_prompts.h"

// Makes the main window's dialogs that wait for their first use, so that a test finds them all
// among its children.
inline void MakeDialogs(MainWindow& main) {
    main.frmReceiveRadio.get();
    main.frmSelectDirectory.get();
    main.frmChangeCode.get();
    main.frmAbout.get();
}

class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override { MakeWindow(); }

    void MakeWindow() {
        window.reset();
        env.commonDataFolder = folder.path() + "/data";
        env.commonDocumentsFolder = folder.path() + "/documents";
        env.programFolder = folder.path() + "/program/";
        env.prompts = &prompts;
        window = std::make_unique<MainWindow>(env);
    }

    template <class T = QWidget>
    T* Find(const QString& name) const {
        T* found = window->findChild<T*>(name);
        EXPECT_TRUE(found) << "no " << name.toStdString();
        return found;
    }

    QTemporaryDir folder;
    ScriptedPrompts prompts;
    AppEnvironment env;
    std::unique_ptr<MainWindow> window;
};

// A window created under a chosen default locale, which is restored afterwards.
class LocaleWindowTest : public WindowTest {
  protected:
    explicit LocaleWindowTest(QLocale locale = QLocale(QLocale::German, QLocale::Germany))
        : savedLocale_(QLocale()) {
        QLocale::setDefault(locale);
    }
    ~LocaleWindowTest() override {
        window.reset();
        QLocale::setDefault(savedLocale_);
    }

  private:
    QLocale savedLocale_;
};

// Runs check on the next modal window once it is open (a message box or dialog that the code
// under test shows with exec()). check must close it.
inline void WhenModalOpens(std::function<void(QWidget*)> check, int triesLeft = 200) {
    QTimer::singleShot(10, [check, triesLeft] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            check(modal);
        } else if (triesLeft > 0) {
            WhenModalOpens(check, triesLeft - 1);
        } else {
            ADD_FAILURE() << "no modal window opened";
        }
    });
}
