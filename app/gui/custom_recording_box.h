// The recording dialog's part for video editors, apart from the DV
// standards: the "Custom" choice with its size, frame rate and transparent
// background. Its fields only take effect while "Custom" is chosen.
#pragma once

#include <QGroupBox>

#include "video/custom_recording.h"

class QCheckBox;
class QComboBox;
class QRadioButton;
class QSpinBox;

namespace quorbel::gui {

class CustomRecordingBox : public QGroupBox {
public:
    CustomRecordingBox(const CustomRecording& current, QWidget* parent = nullptr);

    QRadioButton* choice() const { return choice_; }
    // The size, rate and background as set now.
    CustomRecording Value() const;

private:
    void EnableFields(bool on);

    QRadioButton* choice_ = nullptr;
    QSpinBox* width_ = nullptr;
    QSpinBox* height_ = nullptr;
    QComboBox* rate_ = nullptr;
    QCheckBox* alpha_ = nullptr;
};

}  // namespace quorbel::gui
