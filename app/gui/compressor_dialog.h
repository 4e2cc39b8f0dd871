// The compressor chooser: the encoders that can write the recording, the
// suggested one selected, and a quality slider for those that have one.
#pragma once

#include <QDialog>
#include <optional>
#include <vector>

#include "platform/platform.h"

class QLabel;
class QListWidget;
class QSlider;

namespace quorbel::gui {

class CompressorDialog : public QDialog {
public:
    explicit CompressorDialog(const std::vector<CompressorInfo>& offered, QWidget* parent = nullptr);
    // The selected entry and, where it has one, the quality set.
    std::optional<CompressorChoice> Choice() const;

private:
    void ShowQualityOf(int row);

    std::vector<CompressorInfo> offered_;
    QListWidget* list_ = nullptr;
    QSlider* quality_ = nullptr;
    QLabel* qualityValue_ = nullptr;
};

// Shows the chooser modally; nothing on Cancel or when nothing is offered.
std::optional<CompressorChoice> ChooseCompression(const std::vector<CompressorInfo>& offered, QWidget* parent);

}  // namespace quorbel::gui
