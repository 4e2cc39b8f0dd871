// What a panel is made of, as data: its template (caption, place and size)
// and one row per control. The core's panel models and the shell's windows
// both read these tables, so a control's id, kind, caption and place are
// written down exactly once.
#pragma once

#include <span>

namespace quorbel {

enum class PanelKind { Text, Particles, Stars, Tunnel, Tiles, Fire, Blur };
constexpr int kPanelKindCount = 7;

// Dialog units: a quarter of the dialog font's average character width
// across, an eighth of its character height down.
struct DialogRect {
    int x = 0, y = 0, width = 0, height = 0;
};

enum class ControlKind { Slider, CheckBox, RadioButton, NumberField, EditBox, PushButton, Label, GroupBox };

struct ControlSpec {
    int id;  // 0 for labels and group boxes, which nothing addresses
    ControlKind kind;
    const char* caption;
    DialogRect rect;
    bool hidden = false;  // exists and takes values, but is never shown
};

struct PanelTemplate {
    PanelKind kind;
    int templateId;
    const char* caption;
    // x, y relative to the main window's client area; width and height of
    // the panel's client area.
    DialogRect rect;
    std::span<const ControlSpec> controls;
};

const PanelTemplate& TemplateOf(PanelKind kind);
// The kind made from template `templateId`, or nothing for an unknown one.
const PanelTemplate* FindTemplate(int templateId);

}  // namespace quorbel
