#include "app/gui/avi_properties_dialog.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>
#include <iterator>

#include "app/gui/custom_recording_box.h"

namespace quorbel::gui {

namespace {

// Digits only, as the number field has always taken; eight of them are more
// frames than anyone records (a month of video).
constexpr const char* kWholeNumber = "[0-9]{0,8}";

// The names the standards' buttons have always had, in the table's order.
constexpr const char* kStandardButtonIds[] = {"control1060", "control1029"};
static_assert(std::size(kStandardButtonIds) == std::size(kRecordingStandards));

QRadioButton* AddStandard(QGridLayout& grid, int row, const RecordingStandard& standard) {
    auto* radio = new QRadioButton(QString::fromLatin1(standard.caption));
    radio->setObjectName(QString::fromLatin1(kStandardButtonIds[row]));
    grid.addWidget(radio, row, 0);
    grid.addWidget(new QLabel(QString::fromStdString(StandardSizeText(standard))), row, 1);
    return radio;
}

QPushButton* AddButton(QHBoxLayout& row, const char* text, const char* id) {
    auto* button = new QPushButton(QString::fromLatin1(text));
    button->setObjectName(QString::fromLatin1(id));
    row.addWidget(button);
    return button;
}

}  // namespace

AviPropertiesDialog::AviPropertiesDialog(const AviProperties& current, QWidget* parent)
    : QDialog(parent), standard_(current.standard) {
    setWindowTitle(QStringLiteral("AVI Properties"));
    setObjectName(QStringLiteral("aviPropertiesDialog"));

    auto* standards = new QGroupBox(QStringLiteral("Export DV AVI as:"), this);
    auto* grid = new QGridLayout(standards);
    auto* choices = new QButtonGroup(this);
    int row = 0;
    for (const RecordingStandard& standard : kRecordingStandards) {
        QRadioButton* radio = AddStandard(*grid, row++, standard);
        radio->setChecked(current.standard == standard.code);
        connect(radio, &QRadioButton::clicked, this, [this, code = standard.code] { standard_ = code; });
        choices->addButton(radio);
    }

    // Apart from the DV standards, but one choice with them.
    custom_ = new CustomRecordingBox(current.custom, this);
    custom_->choice()->setChecked(current.standard == kStandardCustom);
    connect(custom_->choice(), &QRadioButton::clicked, this, [this] { standard_ = kStandardCustom; });
    choices->addButton(custom_->choice());

    auto* length = new QGroupBox(QStringLiteral("AVI Length"), this);
    auto* lengthRow = new QHBoxLayout(length);
    auto* labels = new QVBoxLayout;
    labels->addWidget(new QLabel(QStringLiteral("Number of")));
    labels->addWidget(new QLabel(QStringLiteral("Frames?")));
    lengthRow->addLayout(labels);
    frames_ = new QLineEdit(QStringLiteral("0"), length);
    frames_->setObjectName(QStringLiteral("control1000"));
    frames_->setValidator(new QRegularExpressionValidator(QRegularExpression(QString::fromLatin1(kWholeNumber)), frames_));
    lengthRow->addWidget(frames_);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    QPushButton* ok = AddButton(*buttons, "OK", "control1");
    QPushButton* cancel = AddButton(*buttons, "Cancel", "control2");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(standards);
    layout->addWidget(custom_);
    layout->addWidget(length);
    layout->addLayout(buttons);
}

AviProperties AviPropertiesDialog::Properties() const {
    return {standard_, frames_->text().toInt(), custom_->Value()};  // "" reads as 0
}

std::optional<AviProperties> AskAviProperties(const AviProperties& current, QWidget* parent) {
    AviPropertiesDialog dialog(current, parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Properties();
}

}  // namespace quorbel::gui
