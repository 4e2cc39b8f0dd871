// The About box: the program's name, version and a way to its home page.
#pragma once

#include <QDialog>

namespace quorbel::gui {

inline constexpr const char* kAboutCaption = "About Quorbel";
inline constexpr const char* kVisitWebSiteText = "Visit our Web Site";

class AboutDialog : public QDialog {
public:
    explicit AboutDialog(QWidget* parent = nullptr);
};

}  // namespace quorbel::gui
