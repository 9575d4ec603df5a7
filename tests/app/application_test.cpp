// The application object: an error that escapes an event handler is shown in an error box and
// the program runs on. This program has its own main, since it needs the real application class.

#include "app/application.h"

#include <gtest/gtest.h>

#include <QTimer>
#include <stdexcept>

#include "support/scripted_prompts.h"

namespace {
KorbiApplication* app = nullptr;
}

TEST(KorbiApplicationTest, EscapedErrorsAreShownAndTheLoopRunsOn) {
    ScriptedPrompts prompts;
    app->SetPrompts(&prompts);
    bool ranAfterwards = false;
    QTimer::singleShot(0, [] { throw std::runtime_error("Zugriff verweigert: Values.ini"); });
    QTimer::singleShot(5, [] { throw 42; });
    QTimer::singleShot(10, [&] {
        ranAfterwards = true;
        QCoreApplication::quit();
    });
    EXPECT_EQ(app->exec(), 0);
    app->SetPrompts(nullptr);

    EXPECT_TRUE(ranAfterwards);
    ASSERT_EQ(prompts.records.size(), 2);
    EXPECT_EQ(prompts.records[0].kind, BoxKind::Error);
    EXPECT_EQ(prompts.records[0].buttons, BoxButtons::Ok);
    EXPECT_EQ(prompts.records[0].text, "Zugriff verweigert: Values.ini");
    // Something that is no exception class is shown with an empty message.
    EXPECT_EQ(prompts.records[1].kind, BoxKind::Error);
    EXPECT_TRUE(prompts.records[1].text.isEmpty());
}

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    KorbiApplication application(argc, argv);
    app = &application;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
