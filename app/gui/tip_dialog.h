// The Tip of the Day box: shows what the core's TipOfTheDay holds and
// forwards its buttons to it.
#pragma once

#include <QDialog>

#include "commands/tip_of_the_day.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace quorbel::gui {

inline constexpr const char* kTipCaption = "Tip of the Day";
inline constexpr const char* kDidYouKnowText = "Did you know...";

class TipDialog : public QDialog {
public:
    // The dialog shows `tips`, which must outlive it.
    explicit TipDialog(TipOfTheDay& tips, QWidget* parent = nullptr);

    // The "Close" button: stores the check box, then closes.
    void accept() override;

private:
    void Refresh();

    TipOfTheDay& tips_;
    QLabel* tipText_ = nullptr;
    QCheckBox* showAtStartup_ = nullptr;
    QPushButton* nextTip_ = nullptr;
};

// Runs the box modally (the Help menu's command).
void OpenTipBox(QWidget* parent);
// At start-up: the box is made (which moves the stored position one tip on)
// and shown only when the user wants tips at start-up.
void ShowTipAtStartup(QWidget* parent);

}  // namespace quorbel::gui
