// Runs the widget tests inside one QApplication on Qt's offscreen platform,
// with per-user settings in a fresh folder so no real profile is touched.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <string>

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    std::string config = (std::filesystem::temp_directory_path() / "quorbel-qt-test-XXXXXX").string();
    if (mkdtemp(config.data())) setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    QApplication app(argc, argv);
    QApplication::setApplicationName("Quorbel");
    QApplication::setOrganizationName("Quorbel");
    ::testing::InitGoogleTest(&argc, argv);
    int status = RUN_ALL_TESTS();
    std::error_code ignored;
    std::filesystem::remove_all(config, ignored);
    return status;
}
