// One QApplication for the whole test program (the offscreen platform is set by CTest),
// with its settings in a folder of its own: tests never touch the user's settings.
#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>

#include "support/TempDir.h"

namespace {

class QtApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        if (!std::getenv("QT_QPA_PLATFORM")) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QString::fromStdString(m_settings.path()));
        static int argc = 1;
        static char name[] = "test_app";
        static char* argv[] = {name, nullptr};
        m_app = std::make_unique<QApplication>(argc, argv);
        QApplication::setOrganizationName(QStringLiteral("trellisor-tests"));
    }
    void TearDown() override { m_app.reset(); }

private:
    trellisor::test::TempDir m_settings;
    std::unique_ptr<QApplication> m_app;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

}  // namespace
