#include "app/gui/widget_map.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QSaveFile>
#include <QTextStream>
#include <QTimer>
#include <QToolButton>
#include <QWidget>
#include <cstdlib>

namespace quorbel::gui {

namespace {

// One line per item: window title, kind, name, text, x, y, width, height
// (tab-separated; the rectangle in global pixels). A widget without a name
// is still listed by its class, so stock dialogs can be driven too.
void WriteRect(QTextStream& out, const QWidget& window, const QString& kind, const QString& name,
               const QString& text, const QRect& rect) {
    QString clean = text;
    clean = clean.remove(QLatin1Char('&')).simplified();  // no tabs or line breaks, no trailing space
    out << window.windowTitle() << '\t' << kind << '\t' << name << '\t' << clean << '\t' << rect.x() << '\t'
        << rect.y() << '\t' << rect.width() << '\t' << rect.height() << '\n';
}

QRect GlobalRect(const QWidget& widget, const QRect& local) {
    return QRect(widget.mapToGlobal(local.topLeft()), local.size());
}

void WriteActions(QTextStream& out, const QWidget& window, const QWidget& owner) {
    for (QAction* action : owner.actions()) {
        if (action->isSeparator() || !action->isVisible()) continue;
        QRect rect;
        if (auto* menu = qobject_cast<const QMenu*>(&owner)) rect = menu->actionGeometry(action);
        if (auto* bar = qobject_cast<const QMenuBar*>(&owner)) rect = bar->actionGeometry(action);
        if (!rect.isEmpty()) WriteRect(out, window, QStringLiteral("action"), action->objectName(), action->text(),
                                       GlobalRect(owner, rect));
    }
}

void WriteWindow(QTextStream& out, const QWidget& window) {
    WriteRect(out, window, QStringLiteral("window"), window.objectName(), QString(), window.frameGeometry());
    WriteActions(out, window, window);
    for (QWidget* child : window.findChildren<QWidget*>()) {
        if (child->window() != &window || !child->isVisibleTo(&window)) continue;  // dialogs are listed as windows
        QString name = child->objectName(), text;
        if (auto* button = qobject_cast<QAbstractButton*>(child)) text = button->text();
        if (auto* button = qobject_cast<QToolButton*>(child); button && button->defaultAction())
            name = button->defaultAction()->objectName(), text = button->defaultAction()->text();
        WriteRect(out, window, QString::fromLatin1(child->metaObject()->className()), name, text,
                  GlobalRect(*child, child->rect()));
        if (qobject_cast<QMenuBar*>(child)) WriteActions(out, window, *child);
    }
}

class WidgetMap : public QObject {
public:
    explicit WidgetMap(QString path) : path_(std::move(path)) {
        timer_.setSingleShot(true);
        timer_.setInterval(50);
        connect(&timer_, &QTimer::timeout, this, [this] { Write(); });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (type == QEvent::Show || type == QEvent::Hide || type == QEvent::Move || type == QEvent::Resize ||
            type == QEvent::LayoutRequest) {
            if (auto* widget = qobject_cast<QWidget*>(watched); widget && widget->isWindow()) timer_.start();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    // Written under another name and renamed, so a reader never sees half a map.
    void Write() {
        QSaveFile file(path_);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) return;
        QTextStream out(&file);
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->isVisible()) WriteWindow(out, *window);
        out.flush();
        file.commit();
    }

    QString path_;
    QTimer timer_;
};

}  // namespace

void StartWidgetMapWhenAsked() {
    const char* path = std::getenv("QUORBEL_WIDGET_MAP");
    if (!path || !*path) return;
    qApp->installEventFilter(new WidgetMap(QString::fromLocal8Bit(path)));
}

}  // namespace quorbel::gui
