#include "app/windowaids.h"

#include <QGuiApplication>
#include <QLayout>
#include <QMainWindow>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QVBoxLayout>

#include "link/lpxadapter.h"
#include "link/lpxports.h"
#include "resources/catalogue.h"

namespace {

// Before the window is first shown its frame is unknown; a title bar takes about this much.
constexpr int kTitleBarAllowance = 32;

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
    watch_ = std::make_unique<LpxPortWatch>(
        kLpxDescription,
        [this](const LpxPortsStatus& s) {
            QString remedy;
            setText(LpxStatusText(s, &remedy));
            setToolTip(remedy);
        },
        port.toLocal8Bit().toStdString());
}

LpxIndicator::~LpxIndicator() = default;

void AddWindowAids(QMainWindow* window, const AppEnvironment& env) {
    window->statusBar()->addPermanentWidget(
        new LpxIndicator(env.practiceMode, env.lpxPort, window));
    if (env.practiceMode) AddPracticeBanner(window);
    FitWindowToScreen(window);
}

bool FitWindowToScreen(QMainWindow* window) {
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen || !window->centralWidget()) return false;
    window->ensurePolished();
    if (window->layout()) window->layout()->activate();
    const QSize need = window->sizeHint();
    const QSize frame = window->isVisible()
                            ? window->frameGeometry().size() - window->geometry().size()
                            : QSize(0, kTitleBarAllowance);
    const QSize room = screen->availableGeometry().size() - frame;
    if (need.width() <= room.width() && need.height() <= room.height()) return false;

    auto* scroll = new QScrollArea(window);
    scroll->setObjectName("clientScroll");
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(false);
    scroll->setWidget(window->takeCentralWidget());
    window->setCentralWidget(scroll);
    // The window may now be smaller than its client, but never larger than it needs.
    window->layout()->setSizeConstraint(QLayout::SetDefaultConstraint);
    window->setMinimumSize(0, 0);
    window->setMaximumSize(need);
    window->resize(need.boundedTo(room));
    return true;
}
