#include "app/mainwindow.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>

#include "support/scripted_prompts.h"

TEST(MainWindowSmoke, Builds) {
    ScriptedPrompts prompts;
    AppEnvironment env;
    env.prompts = &prompts;
    TfrmMain w(env);
    EXPECT_EQ(w.findChildren<QLineEdit*>().size(), 34);
    EXPECT_EQ(w.findChildren<QCheckBox*>().size(), 44);
}
