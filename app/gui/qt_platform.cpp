#include "app/gui/qt_platform.h"

#include "app/gui/compressor_dialog.h"

#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QSettings>
#include <QStringList>
#include <QUrl>

#include "app/gui/main_frame.h"
#include "app/gui/pravik_view.h"

namespace quorbel::gui {

namespace {

QString ToQt(const std::string& text) { return QString::fromStdString(text); }

// A modal box stops the stream of frames (the view only repaints when the
// window system asks); this restarts it when the box is gone.
class ModalScope {
public:
    explicit ModalScope(CMainFrame& frame) : frame_(frame) {}
    ~ModalScope() { frame_.View()->ResumeAnimation(); }
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;

private:
    CMainFrame& frame_;
};

QMessageBox::Icon ToQt(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::None: return QMessageBox::NoIcon;
        case MessageIcon::Information: return QMessageBox::Information;
        case MessageIcon::Warning: return QMessageBox::Warning;
        case MessageIcon::Error: return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ToQt(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::Ok: return QMessageBox::Ok;
        case MessageButtons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
        case MessageButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    }
    return QMessageBox::Ok;
}

MessageAnswer FromQt(int button) {
    switch (button) {
        case QMessageBox::Ok: return MessageAnswer::Ok;
        case QMessageBox::Yes: return MessageAnswer::Yes;
        case QMessageBox::No: return MessageAnswer::No;
        default: return MessageAnswer::Cancel;
    }
}

QString FilterList(const std::vector<FileFilter>& filters) {
    QStringList parts;
    for (const FileFilter& filter : filters) {
        QString patterns = ToQt(filter.pattern).replace(QLatin1Char(';'), QLatin1Char(' '));
        // "*.*" means every file to the user; "*" says so on this system.
        if (patterns == QLatin1String("*.*")) patterns = QStringLiteral("*");
        parts << ToQt(filter.description) + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return parts.join(QStringLiteral(";;"));
}

std::optional<std::string> Chosen(const QString& path) {
    if (path.isEmpty()) return std::nullopt;
    return path.toStdString();
}

QString ProfileKey(const std::string& section, const std::string& key) { return ToQt(section + '/' + key); }

}  // namespace

std::uint32_t ToColourReference(const QColor& colour) {
    return static_cast<std::uint32_t>(colour.red()) | static_cast<std::uint32_t>(colour.green()) << 8 |
           static_cast<std::uint32_t>(colour.blue()) << 16;
}

QColor FromColourReference(std::uint32_t reference) {
    return QColor(reference & 0xFF, (reference >> 8) & 0xFF, (reference >> 16) & 0xFF);
}

MessageAnswer QtPlatform::ShowMessage(const std::string& text, const std::string& caption, MessageButtons buttons,
                                      MessageIcon icon) {
    if (frame_.View()->Painting()) {
        // Reported from inside a frame (a picture the set-up or a layer could
        // not use): shown as soon as the frame is done, with the cautious
        // answer now, as without a window.
        QMetaObject::invokeMethod(
            &frame_, [this, text, caption, icon] { ShowMessage(text, caption, MessageButtons::Ok, icon); },
            Qt::QueuedConnection);
        return HeadlessPlatform::ShowMessage(text, caption, buttons, icon);
    }
    ModalScope modal(frame_);
    QMessageBox box(ToQt(icon), ToQt(caption), ToQt(text), ToQt(buttons), &frame_);
    return FromQt(box.exec());
}

std::optional<std::string> QtPlatform::ChooseOpenFile(const FileRequest& request) {
    ModalScope modal(frame_);
    return Chosen(QFileDialog::getOpenFileName(&frame_, ToQt(request.title), ToQt(request.initialName),
                                               FilterList(request.filters)));
}

std::optional<std::string> QtPlatform::ChooseSaveFile(const FileRequest& request) {
    ModalScope modal(frame_);
    QFileDialog dialog(&frame_, ToQt(request.title), ToQt(request.initialName), FilterList(request.filters));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(ToQt(request.defaultExtension));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return Chosen(dialog.selectedFiles().first());
}

std::optional<std::uint32_t> QtPlatform::ChooseColour(std::uint32_t initial) {
    ModalScope modal(frame_);
    QColor chosen = QColorDialog::getColor(FromColourReference(initial), &frame_);
    if (!chosen.isValid()) return std::nullopt;
    return ToColourReference(chosen);
}

std::optional<FontChoice> QtPlatform::ChooseFont(const FontChoice& initial) {
    ModalScope modal(frame_);
    QFont start(ToQt(initial.face));
    start.setWeight(static_cast<QFont::Weight>(std::clamp(initial.weight, 1, 1000)));
    start.setItalic(initial.italic);
    bool accepted = false;
    QFont font = QFontDialog::getFont(&accepted, start, &frame_);
    if (!accepted) return std::nullopt;
    return FontChoice{font.family().toStdString(), static_cast<int>(font.weight()), font.italic()};
}

std::optional<std::size_t> QtPlatform::ChooseCompressor(const std::vector<CompressorInfo>& offered) {
    if (offered.empty()) return std::nullopt;
    ModalScope modal(frame_);
    QStringList names;
    for (const CompressorInfo& info : offered) names << ToQt(info.description);
    bool accepted = false;
    QString chosen =
        QInputDialog::getItem(&frame_, QStringLiteral("Video Compression"), QStringLiteral("Compressor:"), names, 0,
                              false, &accepted);
    if (!accepted) return std::nullopt;
    qsizetype index = names.indexOf(chosen);
    if (index < 0) return std::nullopt;
    return static_cast<std::size_t>(index);
}

std::optional<CompressorChoice> QtPlatform::ChooseCompression(const std::vector<CompressorInfo>& offered) {
    ModalScope modal(frame_);
    return gui::ChooseCompression(offered, &frame_);
}

std::string QtPlatform::ReadProfileString(const std::string& section, const std::string& key,
                                          const std::string& fallback) {
    return QSettings().value(ProfileKey(section, key), ToQt(fallback)).toString().toStdString();
}

void QtPlatform::WriteProfileString(const std::string& section, const std::string& key, const std::string& value) {
    QSettings().setValue(ProfileKey(section, key), ToQt(value));
}

bool QtPlatform::OpenWebPage(const std::string& url) {
    return QDesktopServices::openUrl(QUrl(ToQt(url), QUrl::TolerantMode));
}

// Panel handlers rebuild glyphs and load textures: the view's context is
// made current before each panel event.
QtPlatform::QtPlatform(CMainFrame& frame)
    : frame_(frame), panels_(&frame, [this](const std::function<void()>& event) {
          MakeViewContextCurrent();
          event();
      }) {}

void QtPlatform::SetMenuCheck(int commandId, bool checked) { frame_.SetCommandChecked(commandId, checked); }

void QtPlatform::SetStatusText(const std::string& text) { frame_.MessagePane()->setText(ToQt(text)); }

bool QtPlatform::MakeViewContextCurrent() { return frame_.View()->MakeContextCurrent(); }

}  // namespace quorbel::gui
