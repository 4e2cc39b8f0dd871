#include "app/gui/custom_recording_box.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>

namespace quorbel::gui {

namespace {

// The rates editors work in, the television ones by their usual names.
constexpr const char* kRates[] = {"24", "25", "30", "50", "60", "23.976", "29.97", "59.94"};

constexpr const char* kTransparencyNote =
    "Keeps the background transparent in .mov, .webm and .png files: the title's faces are opaque, "
    "glows add light, and the tunnel and the tiles fill the picture, opaque where they draw.";

QSpinBox* SideField(int value, const char* id) {
    auto* field = new QSpinBox;
    field->setObjectName(QString::fromLatin1(id));
    field->setRange(kShortestRecordedSide, kLongestRecordedSide);
    field->setValue(value);
    return field;
}

QComboBox* RateField(const FrameRate& current) {
    auto* field = new QComboBox;
    field->setObjectName(QStringLiteral("customRate"));
    for (const char* rate : kRates) {
        std::string error;
        const FrameRate value = *ParseFrameRate(rate, error);
        field->addItem(QString::fromLatin1(rate) + QStringLiteral(" Fps"), QString::fromLatin1(rate));
        if (value == current) field->setCurrentIndex(field->count() - 1);
    }
    if (field->currentIndex() < 0 || current == FrameRate{}) field->setCurrentIndex(2);  // 30
    return field;
}

}  // namespace

CustomRecordingBox::CustomRecordingBox(const CustomRecording& current, QWidget* parent)
    : QGroupBox(QStringLiteral("For video editors:"), parent) {
    setObjectName(QStringLiteral("customRecordingBox"));
    choice_ = new QRadioButton(QStringLiteral("Custom"));
    choice_->setObjectName(QStringLiteral("customRecording"));
    width_ = SideField(current.width, "customWidth");
    height_ = SideField(current.height, "customHeight");
    rate_ = RateField(current.rate);
    alpha_ = new QCheckBox(QStringLiteral("Transparent background"));
    alpha_->setObjectName(QStringLiteral("customAlpha"));
    alpha_->setChecked(current.alpha);
    auto* note = new QLabel(QString::fromLatin1(kTransparencyNote));
    note->setWordWrap(true);

    auto* grid = new QGridLayout(this);
    grid->addWidget(choice_, 0, 0);
    grid->addWidget(width_, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("x")), 0, 2);
    grid->addWidget(height_, 0, 3);
    grid->addWidget(new QLabel(QStringLiteral("@")), 0, 4);
    grid->addWidget(rate_, 0, 5);
    grid->addWidget(alpha_, 1, 1, 1, 5);
    grid->addWidget(note, 2, 0, 1, 6);
    connect(choice_, &QRadioButton::toggled, this, [this](bool on) { EnableFields(on); });
    EnableFields(false);
}

void CustomRecordingBox::EnableFields(bool on) {
    for (QWidget* field : {static_cast<QWidget*>(width_), static_cast<QWidget*>(height_),
                           static_cast<QWidget*>(rate_), static_cast<QWidget*>(alpha_)})
        field->setEnabled(on);
}

CustomRecording CustomRecordingBox::Value() const {
    std::string error;
    const auto rate = ParseFrameRate(rate_->currentData().toString().toStdString(), error);
    return {width_->value(), height_->value(), rate.value_or(FrameRate{30, 1}), alpha_->isChecked()};
}

}  // namespace quorbel::gui
