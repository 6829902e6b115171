// One application for the whole test program (the offscreen platform is set by CTest): the
// editor's own, so that its start-up runs in process, with its settings in a folder of its own:
// tests never touch the user's settings.
#include <gtest/gtest.h>

#include <QSettings>

#include "app/EditorApp.h"
#include "support/TempDir.h"

namespace trellisor::test {

// The application reads its arguments from here whenever it is asked for them.
static std::vector<std::string> g_words;
static char* g_argv[16] = {};
static int g_argc = 0;

void setCommandLine(std::vector<std::string> words) {
    g_words = std::move(words);
    g_argc = int(g_words.size());
    for (int i = 0; i < g_argc; ++i) g_argv[i] = g_words[std::size_t(i)].data();
}

namespace {

struct QtApplicationEnvironment : ::testing::Environment {
    void SetUp() override {
        if (!std::getenv("QT_QPA_PLATFORM")) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QString::fromStdString(settings.path()));
        setCommandLine({"test_app"});
        app = std::make_unique<EditorApp>(g_argc, g_argv);
        QApplication::setOrganizationName(QStringLiteral("trellisor-tests"));
    }
    void TearDown() override { app.reset(); }
    TempDir settings;
    std::unique_ptr<EditorApp> app;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

}  // namespace
}  // namespace trellisor::test
