#include "app/accessiblelater.h"

#include <QAccessible>
#include <QAccessibleObject>
#include <QPointer>
#include <utility>
#include <vector>

namespace {

// Stands for an object's interface while reports are deferred; nothing reads it.
class Placeholder : public QAccessibleObject {
  public:
    explicit Placeholder(QObject* object) : QAccessibleObject(object) {}
    QAccessibleInterface* parent() const override { return nullptr; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text) const override { return QString(); }
    QAccessible::Role role() const override { return QAccessible::NoRole; }
    QAccessible::State state() const override { return QAccessible::State(); }
};

QAccessibleInterface* MakePlaceholder(const QString&, QObject* object);

// The deferral under way. A screen reader that starts listening meanwhile (a message box at
// start runs an event loop, in which the desktop's accessibility bus may answer) ends it at
// once, before it asks for anything.
class Deferral : public QAccessible::ActivationObserver {
  public:
    Deferral() {
        QAccessible::installFactory(&MakePlaceholder);
        QAccessible::installActivationObserver(this);
    }
    ~Deferral() override {
        End();
        QAccessible::removeActivationObserver(this);
    }
    void accessibilityActiveChanged(bool active) override {
        if (active) End();
    }

    // Drops the placeholders; the objects' own interfaces are made when next asked for.
    void End() {
        if (ended_) return;
        ended_ = true;
        QAccessible::removeFactory(&MakePlaceholder);
        // An object deleted meanwhile took its placeholder with it.
        for (const QPointer<QObject>& object : std::exchange(placed_, {})) {
            if (!object) continue;
            QAccessibleInterface* face = QAccessible::queryAccessibleInterface(object);
            if (dynamic_cast<Placeholder*>(face))
                QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(face));
        }
    }

    QAccessibleInterface* Make(QObject* object) {
        if (ended_ || !object) return nullptr;
        placed_.emplace_back(object);
        return new Placeholder(object);
    }

  private:
    bool ended_ = false;
    std::vector<QPointer<QObject>> placed_;
};

Deferral* deferral = nullptr;

QAccessibleInterface* MakePlaceholder(const QString&, QObject* object) {
    return deferral ? deferral->Make(object) : nullptr;
}

}  // namespace

AccessibleLater::AccessibleLater() {
    // A screen reader that listens already hears the window as it changes; nesting changes
    // nothing either.
    if (deferral || QAccessible::isActive()) return;
    deferral = new Deferral;
    deferring_ = true;
}

AccessibleLater::~AccessibleLater() {
    if (!deferring_) return;
    delete std::exchange(deferral, nullptr);
}
