// The "AVI Properties" box of Generate AVI: the video standard (NTSC or PAL,
// or, set apart from them, a custom size, rate and background for video
// editors) and the number of frames to record.
#pragma once

#include <QDialog>
#include <optional>

#include "video/generate_avi.h"

class QLineEdit;
class QRadioButton;

namespace quorbel::gui {

class CustomRecordingBox;

class AviPropertiesDialog : public QDialog {
public:
    // Opens with `current`'s standard checked (neither when it is neither),
    // its custom size, rate and background in their fields, and the number
    // field at 0.
    AviPropertiesDialog(const AviProperties& current, QWidget* parent = nullptr);

    // What the box holds now: the standard last clicked, the whole number
    // typed (0 for an empty field) and the custom fields.
    AviProperties Properties() const;

private:
    CustomRecordingBox* custom_ = nullptr;
    QLineEdit* frames_ = nullptr;
    std::int32_t standard_ = 0;
};

// Shows the box modally; its properties on OK, nothing on Cancel.
std::optional<AviProperties> AskAviProperties(const AviProperties& current, QWidget* parent);

}  // namespace quorbel::gui
