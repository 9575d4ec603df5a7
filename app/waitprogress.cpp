#include "app/waitprogress.h"

#include <QEvent>
#include <QLabel>

#include "app/waitdialog.h"
#include "resources/catalogue.h"

namespace {

constexpr int kReminderSeconds = 30;

// The step a wait belongs to, by the instruction it shows and the waits of its job.
struct StepRow {
    int instructionId;
    int steps;
    int stepId;
};
const StepRow kSteps[] = {
    {Msg::PressToIdentify, 2, Msg::WaitStepIdentify},
    {Msg::PressToRead, 2, Msg::WaitStepRead},
    {Msg::PressToWrite, 2, Msg::WaitStepWrite},
    {Msg::PressToChangeCode, 2, Msg::WaitStepChangeCode},
    {Msg::PressToIdentify, 3, Msg::WaitStepIdentifyOfThree},
    {Msg::PressToWrite, 3, Msg::WaitStepWriteOfThree},
    {Msg::PressToVerify, 3, Msg::WaitStepVerify},
};

}  // namespace

WaitProgress::WaitProgress(PressWaitDialog* dialog) : QObject(dialog), dialog_(dialog) {
    const int top = dialog->height();
    label_ = new QLabel(dialog);
    label_->setObjectName("lblWaitProgress");
    label_->setWordWrap(true);
    label_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Room for the longest line it shows, the reminder wrapped at the dialog's width in the
    // desktop's font, so that no word of it is cut.
    const int width = dialog->width() - 32;
    QString longest;
    for (const StepRow& row : kSteps)
        if (Text(row.stepId).size() > longest.size()) longest = Text(row.stepId);
    label_->setText(FillText(Msg::WaitStepSeconds, {longest, QStringLiteral("9999")}) + '\n' +
                    Text(Msg::WaitReminder));
    const int height = label_->heightForWidth(width) + label_->fontMetrics().descent();
    label_->clear();
    dialog->setFixedSize(dialog->width(), top + height);
    label_->setGeometry(16, top - 4, width, height);
    timer_.setInterval(1000);
    connect(&timer_, &QTimer::timeout, this, [this] { Tick(); });
    dialog->installEventFilter(this);
}

void WaitProgress::Start(int instructionId, int steps) {
    stepId_ = 0;
    for (const StepRow& row : kSteps)
        if (row.instructionId == instructionId && row.steps == steps) stepId_ = row.stepId;
    elapsed_.start();
    timer_.start();
    Tick();
}

static qint64 WaitedSeconds(const QElapsedTimer& elapsed) {
    return elapsed.isValid() ? elapsed.elapsed() / 1000 : 0;
}

QString WaitProgress::Line() const {
    const qint64 seconds = WaitedSeconds(elapsed_);
    QString line = stepId_
                       ? FillText(Msg::WaitStepSeconds, {Text(stepId_), QString::number(seconds)})
                       : FillText(Msg::WaitSeconds, {QString::number(seconds)});
    if (seconds >= kReminderSeconds) line += '\n' + Text(Msg::WaitReminder);
    return line;
}

QString WaitProgress::Announced() const {
    QString step = stepId_ ? Text(stepId_) : QStringLiteral("Wartet auf den Tastendruck");
    if (WaitedSeconds(elapsed_) >= kReminderSeconds) step += ' ' + Text(Msg::WaitReminder);
    return step;
}

void WaitProgress::Tick() {
    // Named by its step, the line tells no screen reader of each second that it counts.
    const QString announced = Announced();
    if (label_->accessibleName() != announced) label_->setAccessibleName(announced);
    label_->setText(Line());
    dialog_->SetStep(announced);
}

bool WaitProgress::eventFilter(QObject* watched, QEvent* event) {
    if (watched == dialog_ && event->type() == QEvent::Hide) timer_.stop();
    return QObject::eventFilter(watched, event);
}
