#include "app/firstpaint.h"

#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace {

// Watches the native window for its first expose, then removes itself.
class FirstPaintWatch : public QObject {
  public:
    FirstPaintWatch(QWindow* shown, QObject* context, std::function<void()> work)
        : QObject(shown), context_(context), work_(std::move(work)) {
        shown->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* shown = static_cast<QWindow*>(watched);
        if (event->type() == QEvent::Expose && shown->isExposed()) {
            shown->removeEventFilter(this);
            // Queued, so that the expose is painted first.
            if (context_) QTimer::singleShot(0, context_.data(), std::move(work_));
            deleteLater();
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    QPointer<QObject> context_;
    std::function<void()> work_;
};

}  // namespace

void AfterFirstPaint(QWidget* window, QObject* context, std::function<void()> work) {
    QWindow* shown = window ? window->window()->windowHandle() : nullptr;
    if (!shown || !context || !work) return;
    new FirstPaintWatch(shown, context, std::move(work));
}
