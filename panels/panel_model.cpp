#include "panels/panel_model.h"

#include <algorithm>
#include <charconv>

namespace quorbel {

namespace {

constexpr const char* kIntegerMessage = "Please enter an integer.";
constexpr const char* kAppName = "Quorbel";
const std::string kNoText;

}  // namespace

std::int32_t AddPress(std::int32_t& counter) {
    counter = std::clamp(counter, 0, 1) + 1;
    return counter;
}

std::int32_t NextCycle(std::int32_t& value) {
    value = std::clamp(value, 0, 2) + 1;
    if (value >= 3) value = 1;
    return value;
}

PanelModel::PanelModel(const PanelTemplate& layout, int instance)
    : layout_(layout), instance_(instance), states_(layout.controls.size()) {}

const ControlSpec* PanelModel::Spec(int id) const {
    if (id == 0) return nullptr;
    for (const ControlSpec& spec : layout_.controls)
        if (spec.id == id) return &spec;
    return nullptr;
}

PanelModel::ControlState* PanelModel::State(int id) {
    const ControlSpec* spec = Spec(id);
    return spec ? &states_[static_cast<std::size_t>(spec - layout_.controls.data())] : nullptr;
}

const PanelModel::ControlState* PanelModel::State(int id) const {
    return const_cast<PanelModel*>(this)->State(id);
}

const ControlSpec* PanelModel::Usable(int id, ControlKind kind) const {
    const ControlSpec* spec = Spec(id);
    return spec && spec->kind == kind && !spec->hidden ? spec : nullptr;
}

int PanelModel::SliderPosition(int id) const {
    const ControlState* state = State(id);
    return state ? state->value : 0;
}

bool PanelModel::IsChecked(int id) const {
    const ControlState* state = State(id);
    return state && state->value != 0;
}

const std::string& PanelModel::FieldText(int id) const {
    const ControlState* state = State(id);
    return state ? state->text : kNoText;
}

void PanelModel::SetSlider(int id, int position) {
    if (ControlState* state = State(id)) state->value = std::clamp(position, kSliderMin, kSliderMax);
}

void PanelModel::SetCheck(int id, bool checked) {
    if (ControlState* state = State(id)) state->value = checked ? 1 : 0;
}

void PanelModel::SetText(int id, std::string text) {
    if (ControlState* state = State(id)) state->text = std::move(text);
}

void PanelModel::SetUsed() { scene.*MarksOf(Kind()).used = 2; }

void PanelModel::Changed() { CurrentPlatform().PanelChanged(Handle()); }

// ----- events ---------------------------------------------------------------

void PanelModel::MoveSlider(int id, int position) {
    if (!Usable(id, ControlKind::Slider)) return;
    SetSlider(id, position);
    OnSliderMoved();
    Changed();
}

void PanelModel::Click(int id) {
    const ControlSpec* spec = Spec(id);
    if (!spec || spec->hidden) return;
    switch (spec->kind) {
        case ControlKind::CheckBox:
            // An automatic check box: the mark flips before the panel hears of it.
            SetCheck(id, !IsChecked(id));
            break;
        case ControlKind::RadioButton:
            for (const ControlSpec& other : layout_.controls)
                if (other.kind == ControlKind::RadioButton) SetCheck(other.id, other.id == id);
            break;
        case ControlKind::PushButton: break;
        default: return;
    }
    OnClick(id);
    Changed();
}

void PanelModel::ChangeText(int id, std::string_view text) {
    const ControlSpec* spec = Spec(id);
    if (!spec || spec->hidden || (spec->kind != ControlKind::EditBox && spec->kind != ControlKind::NumberField))
        return;
    SetText(id, std::string(text));
    OnTextChanged(id);
    Changed();
}

void PanelModel::PressEnter() {
    // A number field that holds no integer keeps the panel open, so the user
    // can see what was refused.
    numberRefused_ = false;
    ExchangeData(Exchange::ReadBack);
    if (!numberRefused_) SetVisible(false);
    Changed();
}

void PanelModel::PressEscape() { SetVisible(false); }

void PanelModel::PressCloseBox() {
    const PanelMarks marks = MarksOf(Kind());
    scene.*marks.open = 0;
    scene.*marks.presses = 0;
    SetVisible(false);
}

void PanelModel::Initialise(bool shown) {
    visible_ = shown;
    ExchangeData(Exchange::Load);
}

void PanelModel::SetVisible(bool visible) {
    if (visible_ == visible) return;
    visible_ = visible;
    CurrentPlatform().PanelShown(Handle(), visible);
}

// ----- slider tables ----------------------------------------------------------

void PanelModel::ReadBack(std::span<const SliderMapping> rows, Side side) {
    for (const SliderMapping& row : rows) ReadBack(rows, row.id, side);
}

void PanelModel::ReadBack(std::span<const SliderMapping> rows, int id, Side side) {
    for (const SliderMapping& row : rows) {
        if (row.id != id || (row.applies && !row.applies(scene))) continue;
        const int position = Slider(row.id);
        if (side != Side::Stored && row.live) row.live.Set(scene, row.liveMap.Value(position));
        if (side != Side::Live && row.stored) row.stored.Set(scene, row.storedMap.Value(position));
    }
}

void PanelModel::PushStored(std::span<const SliderMapping> rows) {
    for (const SliderMapping& row : rows) PushStored(rows, row.id);
}

void PanelModel::PushStored(std::span<const SliderMapping> rows, int id) {
    for (const SliderMapping& row : rows) {
        if (row.id != id) continue;
        if (row.stored) SetSlider(row.id, row.storedMap.Position(row.stored.Get(scene)));
        else SetSlider(row.id, row.liveMap.Position(row.live.Get(scene)));
    }
}

void PanelModel::CopyStoredToLive(std::span<const SliderMapping> rows) {
    for (const SliderMapping& row : rows)
        if (row.live && row.stored) row.live.Assign(scene, row.stored.Get(scene));
}

// ----- check boxes and number fields -------------------------------------------

bool PanelModel::PressToggle(const ToggleBox& box) {
    const bool on = AddPress(scene.*box.counter) < 2;
    if (on) {
        scene.*box.flag = box.onValue;
    } else {
        scene.*box.flag = 0;
        scene.*box.counter = 0;
        SetCheck(box.id, false);
    }
    if (box.partnerCounter) scene.*box.partnerCounter = 0;
    if (box.partnerId) SetCheck(box.partnerId, false);
    return on;
}

const ToggleBox* PanelModel::FindToggle(std::span<const ToggleBox> boxes, int id) const {
    for (const ToggleBox& box : boxes)
        if (box.id == id) return &box;
    return nullptr;
}

std::optional<std::int32_t> PanelModel::ReadNumber(int id) {
    const std::string& text = FieldText(id);
    if (text.empty()) return std::nullopt;
    std::int64_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < INT32_MIN || value > INT32_MAX) {
        numberRefused_ = true;
        CurrentPlatform().ShowMessage(kIntegerMessage, kAppName);
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

}  // namespace quorbel
