#include "app/windowaids.h"

#include <QGuiApplication>
#include <QLayout>
#include <QMainWindow>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QStyle>
#include <QVBoxLayout>
#include <QWindow>

#include "app/centring.h"
#include "app/firstpaint.h"
#include "link/lpxadapter.h"
#include "link/lpxports.h"
#include "resources/catalogue.h"

namespace {

void AddPracticeBanner(QMainWindow* window) {
    QWidget* client = window->takeCentralWidget();
    auto* holder = new QWidget(window);
    holder->setObjectName("practiceHolder");
    auto* column = new QVBoxLayout(holder);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    auto* banner = new QLabel(Text(Msg::PracticeBanner), holder);
    banner->setObjectName("lblPracticeBanner");
    banner->setAlignment(Qt::AlignCenter);
    banner->setAutoFillBackground(true);
    // Amber with dark text: plainly not the normal window, readable in light and dark themes.
    QPalette palette = banner->palette();
    palette.setColor(QPalette::Window, QColor(0xFF, 0xC1, 0x07));
    palette.setColor(QPalette::WindowText, Qt::black);
    banner->setPalette(palette);
    banner->setContentsMargins(0, 3, 0, 3);
    QFont font = banner->font();
    font.setBold(true);
    banner->setFont(font);
    column->addWidget(banner);
    column->addWidget(client);
    window->setCentralWidget(holder);
}

}  // namespace

LpxIndicator::LpxIndicator(bool practice, const QString& port, QWidget* parent) : QLabel(parent) {
    setObjectName("lblLpxStatus");
    if (practice) {
        setText(Text(Msg::LpxStatusPractice));
        return;
    }
    port_ = port;
    watchPending_ = true;
}

// The walk over the serial ports starts once the window has been drawn: on a machine with many
// serial devices it takes longer than the drawing, and the window should not wait for it.
void LpxIndicator::showEvent(QShowEvent* event) {
    QLabel::showEvent(event);
    if (!watchPending_ || !window()->windowHandle()) return;
    watchPending_ = false;
    AfterFirstPaint(this, this, [this] { StartWatch(); });
}

void LpxIndicator::StartWatch() {
    watch_ = std::make_unique<LpxPortWatch>(
        kLpxDescription,
        [this](const LpxPortsStatus& s) {
            QString remedy;
            setText(LpxStatusText(s, &remedy));
            setToolTip(remedy);
        },
        port_.toLocal8Bit().toStdString());
}

LpxIndicator::~LpxIndicator() = default;

namespace {

// Once the window manager has framed the window, its real frame is known: a window that with
// it is larger than the screen's free area is fitted again, and the first time the frame shows
// the window is moved inside that area. Later the user may move it where they like.
class ScreenKeeper : public QObject {
  public:
    explicit ScreenKeeper(QMainWindow* window) : QObject(window), window_(window) {
        window->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (!busy_ && watched == window_ && window_->isVisible() &&
            (type == QEvent::Show || type == QEvent::Move || type == QEvent::Resize)) {
            busy_ = true;
            KeepInside();
            busy_ = false;
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    void KeepInside() {
        const QScreen* screen = window_->screen();
        if (!screen || window_->isMinimized()) return;
        const QRect area = screen->availableGeometry();
        const QRect frame = window_->frameGeometry();
        const bool framedNow = !framed_ && frame != window_->geometry();
        framed_ = framed_ || framedNow;
        if (frame.width() > area.width() || frame.height() > area.height()) {
            const QSize margins = frame.size() - window_->size();
            FitWindowToScreen(window_);
            if (window_->findChild<QScrollArea*>("clientScroll"))
                window_->resize(window_->size().boundedTo(area.size() - margins));
        } else if (!framedNow) {
            return;
        }
        KeepInsideArea(window_, area);
    }

    QMainWindow* window_;
    bool busy_ = false;
    bool framed_ = false;  // the window manager's frame was seen
};

}  // namespace

void AddWindowAids(QMainWindow* window, const AppEnvironment& env) {
    window->statusBar()->addPermanentWidget(
        new LpxIndicator(env.practiceMode, env.lpxPort, window));
    if (env.practiceMode) AddPracticeBanner(window);
    FitWindowToScreen(window);
    new ScreenKeeper(window);
}

namespace {

// The command panel along the bottom of a window that scrolls: as wide as the window, its
// buttons at their designed distance from its right edge, so that they stay in sight however
// narrow the screen.
class CommandStrip : public QWidget {
  public:
    CommandStrip(QWidget* panel, int designWidth, QWidget* parent)
        : QWidget(parent), panel_(panel), designWidth_(designWidth) {
        setObjectName("commandStrip");
        panel->setParent(this);
        panel->move(panel->x(), 0);
        for (QWidget* child : panel->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            designX_.append({child, child->x()});
        setFixedHeight(panel->height() + kPanelMargin);
    }

  protected:
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        const int width = qMax(0, this->width() - 2 * kPanelMargin);
        panel_->setGeometry(kPanelMargin, 0, width, panel_->height());
        const int shift = qMin(0, width - designWidth_);
        for (const auto& [child, x] : designX_)
            child->move(qMax(kPanelMargin, x + shift), child->y());
    }

  private:
    static constexpr int kPanelMargin = 8;
    QWidget* panel_;
    int designWidth_;
    QList<QPair<QWidget*, int>> designX_;
};

// The window's settings (the page control) go into a scroll area; the banner above them, the
// command panel below them and the status line stay outside it, always in sight.
QScrollArea* ScrollSettings(QMainWindow* window) {
    auto* client = window->findChild<QWidget*>("clientArea");
    auto* pages = client ? client->findChild<QWidget*>("pgMain") : nullptr;
    auto* panel = client ? client->findChild<QWidget*>("Panel1") : nullptr;
    if (!pages || !panel) return nullptr;

    auto* column = new QWidget(window);
    column->setObjectName("clientColumn");
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    if (auto* banner = window->findChild<QLabel*>("lblPracticeBanner")) layout->addWidget(banner);

    // The scroll area is in the window before the pages move into it: the pages with their
    // two hundred controls then move once and stay in the same window, which spares every
    // control a new font, palette and style (several per cent of a start).
    auto* scroll = new QScrollArea(column);
    scroll->setObjectName("clientScroll");
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(false);
    layout->addWidget(scroll, 1);
    auto* settings = new QWidget;
    settings->setObjectName("settingsArea");
    settings->setFixedSize(client->width(), panel->y());
    scroll->setWidget(settings);
    pages->setParent(settings);
    pages->show();

    auto* strip = new CommandStrip(panel, panel->width(), column);
    panel->show();
    layout->addWidget(strip);

    delete window->takeCentralWidget();  // the empty client, and the banner's old holder
    window->setCentralWidget(column);
    return scroll;
}

}  // namespace

bool FitWindowToScreen(QMainWindow* window) {
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen || !window->centralWidget()) return false;
    if (window->findChild<QScrollArea*>("clientScroll")) return false;
    window->ensurePolished();
    if (window->layout()) window->layout()->activate();
    const QSize need = window->sizeHint();
    const QSize room = screen->availableGeometry().size() - FrameAllowance(window);
    if (need.width() <= room.width() && need.height() <= room.height()) return false;

    QScrollArea* scroll = ScrollSettings(window);
    if (!scroll) return false;
    // A settings view cut at the bottom needs a vertical scroll bar beside it.
    const int bar = need.height() > room.height()
                        ? scroll->style()->pixelMetric(QStyle::PM_ScrollBarExtent)
                        : 0;
    const QSize most(need.width() + bar, need.height());
    // The window may now be smaller than its settings, but never larger than it needs.
    window->layout()->setSizeConstraint(QLayout::SetDefaultConstraint);
    window->setMinimumSize(0, 0);
    window->setMaximumSize(most);
    window->resize(most.boundedTo(room));
    // The layout settles the window's least size now rather than when it is shown: by then the
    // window exists on the screen, and the new limits would go to the window system once more
    // (the offscreen platform says on standard error that it cannot take them).
    window->layout()->activate();
    return true;
}
