#include "app/gui/compressor_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QSlider>
#include <QVBoxLayout>

namespace quorbel::gui {

namespace {
constexpr int kNoQuality = -1;
constexpr int kFallbackQuality = 95;  // shown, greyed, for an encoder without a quality
}  // namespace

CompressorDialog::CompressorDialog(const std::vector<CompressorInfo>& offered, QWidget* parent)
    : QDialog(parent), offered_(offered) {
    setWindowTitle(QStringLiteral("Video Compression"));
    setObjectName(QStringLiteral("compressorDialog"));

    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("compressors"));
    for (const CompressorInfo& info : offered_) list_->addItem(QString::fromStdString(info.description));
    // Wide enough that every description reads whole, without a scroll bar.
    list_->setMinimumWidth(list_->sizeHintForColumn(0) + 2 * list_->frameWidth() + 8);

    quality_ = new QSlider(Qt::Horizontal, this);
    quality_->setObjectName(QStringLiteral("quality"));
    quality_->setRange(1, 100);
    qualityValue_ = new QLabel(this);
    qualityValue_->setMinimumWidth(qualityValue_->fontMetrics().horizontalAdvance(QStringLiteral("100")));
    connect(quality_, &QSlider::valueChanged, qualityValue_, [this](int value) { qualityValue_->setNum(value); });
    auto* qualityRow = new QHBoxLayout;
    qualityRow->addWidget(new QLabel(QStringLiteral("Quality:")));
    qualityRow->addWidget(quality_, 1);
    qualityRow->addWidget(qualityValue_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) { ShowQualityOf(row); });
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Compressor:")));
    layout->addWidget(list_, 1);
    layout->addLayout(qualityRow);
    layout->addWidget(buttons);
    if (!offered_.empty()) list_->setCurrentRow(0);
    ShowQualityOf(list_->currentRow());
}

void CompressorDialog::ShowQualityOf(int row) {
    const bool has = row >= 0 && static_cast<std::size_t>(row) < offered_.size() &&
                     offered_[static_cast<std::size_t>(row)].quality != kNoQuality;
    quality_->setEnabled(has);
    qualityValue_->setEnabled(has);
    quality_->setValue(has ? offered_[static_cast<std::size_t>(row)].quality : kFallbackQuality);
}

std::optional<CompressorChoice> CompressorDialog::Choice() const {
    const int row = list_->currentRow();
    if (row < 0 || static_cast<std::size_t>(row) >= offered_.size()) return std::nullopt;
    const bool has = offered_[static_cast<std::size_t>(row)].quality != kNoQuality;
    return CompressorChoice{static_cast<std::size_t>(row), has ? quality_->value() : kNoQuality};
}

std::optional<CompressorChoice> ChooseCompression(const std::vector<CompressorInfo>& offered, QWidget* parent) {
    if (offered.empty()) return std::nullopt;
    CompressorDialog dialog(offered, parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Choice();
}

}  // namespace quorbel::gui
