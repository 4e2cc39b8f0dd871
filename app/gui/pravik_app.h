// The application object: starts the window, keeps the view animating, and
// shows the tip of the day at start-up.
#pragma once

namespace quorbel::gui {

class CPravikView;

class CPravikApp {
public:
    static CPravikApp& Instance();

    // Builds and runs the window; returns the process exit status. `argc`
    // and `argv` go to Qt.
    int Run(int& argc, char** argv);

    // The view registers itself when it is made, so that frames follow
    // each other.
    void RegisterView(CPravikView* view) { registeredView_ = view; }
    CPravikView* RegisteredView() const { return registeredView_; }
    // Called after every frame: asks at once for the next one while the view
    // can be seen. The repaint is queued behind waiting input, which keeps
    // the window responsive at any frame rate.
    void OnIdle();

private:
    CPravikView* registeredView_ = nullptr;
};

}  // namespace quorbel::gui
