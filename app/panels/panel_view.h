// The window of one control panel: built from its template's control table,
// showing what its core model holds, and handing every user event to that
// model. The model decides everything; this class only draws and forwards.
#pragma once

#include <QDialog>

#include <functional>
#include <vector>

#include "panels/panel_model.h"

class QWidget;

namespace quorbel {

// Runs one panel event. The shell makes the GL view's context current around
// it, since panel handlers rebuild glyphs and load textures.
using PanelEventRunner = std::function<void(const std::function<void()>&)>;

class PanelView : public QDialog {
public:
    // `owner` is the main window: the panel stays above it and is placed
    // relative to its client area.
    PanelView(PanelModel& model, QWidget* owner, PanelEventRunner runner);

    PanelModel& model() const { return model_; }
    // Every control again from the model (no events are sent back).
    void Sync();
    // The template's place, relative to the owner's client area.
    void PlaceAtTemplatePosition();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    struct Control {
        const ControlSpec* spec;
        QWidget* widget;
    };
    void Build();
    QWidget* MakeControl(const ControlSpec& spec);
    void Connect(const ControlSpec& spec, QWidget* widget);
    void SyncControl(const Control& control);
    void Forward(const std::function<void()>& event);

    PanelModel& model_;
    PanelEventRunner runner_;
    std::vector<Control> controls_;
};

}  // namespace quorbel
