#include "app/gui/pravik_app.h"

#include <QApplication>
#include <QMessageBox>
#include <QOpenGLContext>
#include <cstdio>
#include <optional>
#include <string>

#include "app/gui/artwork.h"
#include "app/gui/main_frame.h"
#include "app/gui/pravik_view.h"
#include "app/gui/qt_platform.h"
#include "app/gui/shell_hooks.h"
#include "app/gui/tip_dialog.h"
#include "app/gui/widget_map.h"
#include "commands/command_table.h"
#include "commands/working_folder.h"

namespace quorbel::gui {

namespace {

// Moves into the folder the window works in. Returns a message for the
// user when the per-user folder could not be prepared.
std::optional<std::string> EnterWindowFolder() {
    const WorkingFolder folder = EnterWorkingFolder();
    if (!folder.error) return std::nullopt;
    return "Quorbel could not prepare its folder for pictures, settings and recordings:\n" + *folder.error +
           "\n\nIt works in " + folder.path + " instead, where it may not be able to save.";
}

// A context of the view's kind, made once before the window: without one
// the window could show nothing, so the program ends with a message.
bool OpenGlAvailable() {
    QOpenGLContext probe;
    probe.setFormat(ViewFormat());
    return probe.create();
}

}  // namespace

CPravikApp& CPravikApp::Instance() {
    static CPravikApp app;
    return app;
}

void CPravikApp::OnIdle() {
    if (registeredView_ && registeredView_->ShouldAnimate()) registeredView_->update();
}

int CPravikApp::Run(int& argc, char** argv) {
    QSurfaceFormat::setDefaultFormat(ViewFormat());
    QApplication qt(argc, argv);
    QApplication::setApplicationName(kApplicationName);
    QApplication::setOrganizationName(kApplicationName);
    QApplication::setWindowIcon(QIcon(QPixmap::fromImage(AppIcon(64))));
    std::optional<std::string> folderProblem = EnterWindowFolder();
    if (!OpenGlAvailable()) {
        std::fprintf(stderr, "quorbel: no OpenGL context can be made on this display\n");
        QMessageBox::critical(nullptr, kApplicationName,
                              "Quorbel cannot start: no OpenGL context can be made on this display.");
        return 1;
    }
    StartWidgetMapWhenAsked();
    CMainFrame frame;
    QtPlatform platform(frame);
    SetPlatform(&platform);
    InstallShellHooks(frame);
    frame.show();
    if (folderProblem) platform.ShowMessage(*folderProblem, kApplicationName, MessageButtons::Ok, MessageIcon::Warning);
    ShowTipAtStartup(&frame);
    frame.View()->ResumeAnimation();
    int status = QApplication::exec();
    RemoveShellHooks();
    SetPlatform(nullptr);
    registeredView_ = nullptr;
    return status;
}

}  // namespace quorbel::gui
