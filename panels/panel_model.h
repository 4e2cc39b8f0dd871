// The core of one control panel: the state of its controls (slider
// positions, check marks, field texts), whether it is shown, and what each
// event does to the scene. The shell's window only mirrors this state and
// forwards the user's events here, so the same panel logic runs with and
// without a window.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "panels/panel_template.h"
#include "panels/slider_mapping.h"
#include "platform/platform.h"
#include "scene/scene_state.h"

namespace quorbel {

// The scene's bookkeeping fields of one panel kind.
struct PanelMarks {
    std::int32_t SceneState::*open;     // 2 while an Edit command's panel is open
    std::int32_t SceneState::*presses;  // the Edit command's press counter
    std::int32_t SceneState::*used;     // set by the panel's first exchange; saved
};
PanelMarks MarksOf(PanelKind kind);

// A check box whose press counter switches a flag to one value: the first
// press switches on, the second off (the counter, never the box's own mark,
// decides). A partner box, when there is one, is the other half of a pair:
// every press clears the partner's counter and mark.
struct ToggleBox {
    int id;
    std::int32_t SceneState::*counter;
    std::int32_t SceneState::*flag;
    std::int32_t onValue;
    int partnerId = 0;
    std::int32_t SceneState::*partnerCounter = nullptr;
};

// Adds one press to a counter that should hold 0 or 1; a counter from a file
// may hold anything, and counts as 1 when above and as 0 when below. Returns
// the new count, 1 or 2.
std::int32_t AddPress(std::int32_t& counter);
// An option that cycles 1 (off), 2 (on), 1, ...: returns the new value.
std::int32_t NextCycle(std::int32_t& value);

class PanelModel {
public:
    enum class Exchange { Load, ReadBack };

    PanelModel(const PanelTemplate& layout, int instance);
    virtual ~PanelModel() = default;
    PanelModel(const PanelModel&) = delete;
    PanelModel& operator=(const PanelModel&) = delete;

    const PanelTemplate& Template() const { return layout_; }
    PanelKind Kind() const { return layout_.kind; }
    PanelHandle Handle() const { return {layout_.templateId, instance_}; }
    bool Visible() const { return visible_; }

    // Control state as the window shows it. An unknown id reads as 0 / "".
    int SliderPosition(int id) const;
    bool IsChecked(int id) const;
    const std::string& FieldText(int id) const;

    // What the user does. Each event on an unknown or hidden control, or on a
    // control of another kind, does nothing. Afterwards the shell is told to
    // show the controls again.
    void MoveSlider(int id, int position);
    void Click(int id);  // check box (the mark flips first), radio button, push button
    void ChangeText(int id, std::string_view text);
    void PressEnter();     // take the controls' values, hide; the open mark stays
    void PressEscape();    // hide; the open mark stays
    void PressCloseBox();  // clear the open mark and the Edit counter, hide

    // Panel creation: shown or hidden from the start, then the first data
    // exchange. Only the registry calls this.
    void Initialise(bool shown);
    // Shows or hides the panel and tells the shell.
    void SetVisible(bool visible);

protected:
    // The panel's own data exchange: `Load` on creation, `ReadBack` when the
    // panel takes its controls' values (Enter, a number field's change).
    virtual void ExchangeData(Exchange direction) = 0;
    virtual void OnSliderMoved() = 0;
    virtual void OnClick(int /*id*/) {}
    virtual void OnTextChanged(int /*id*/) {}

    // Helpers for the panel kinds.
    int Slider(int id) const { return SliderPosition(id); }
    void SetSlider(int id, int position);  // clamped to 0..100, as a slider does
    void SetCheck(int id, bool checked);
    void SetText(int id, std::string text);
    void SetUsed();  // the kind's used mark := 2

    enum class Side { Live, Stored, Both };
    // Reads each applicable row's slider into its scene values.
    void ReadBack(std::span<const SliderMapping> rows, Side side = Side::Both);
    void ReadBack(std::span<const SliderMapping> rows, int id, Side side = Side::Both);
    // Puts each row's slider where its stored value says.
    void PushStored(std::span<const SliderMapping> rows);
    void PushStored(std::span<const SliderMapping> rows, int id);
    // live := stored, for every row that has both.
    void CopyStoredToLive(std::span<const SliderMapping> rows);

    // A press of a counter-driven box (see ToggleBox); true when it switched on.
    bool PressToggle(const ToggleBox& box);
    const ToggleBox* FindToggle(std::span<const ToggleBox> boxes, int id) const;

    // The number in a number field: nothing for an empty field (the user is
    // typing) and, with a message, for text that is no whole number.
    std::optional<std::int32_t> ReadNumber(int id);

private:
    struct ControlState {
        int value = 0;  // slider position, or 1 for a checked box
        std::string text;
    };
    const ControlSpec* Spec(int id) const;
    ControlState* State(int id);
    const ControlState* State(int id) const;
    const ControlSpec* Usable(int id, ControlKind kind) const;
    void Changed();

    bool numberRefused_ = false;  // set when ReadNumber turned text down
    const PanelTemplate& layout_;
    int instance_;
    bool visible_ = true;
    std::vector<ControlState> states_;
};

}  // namespace quorbel
