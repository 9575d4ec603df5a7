// Routes every control of the main window to its handler, finds the four control lists again by
// name, and gives the window its German captions.

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <algorithm>
#include <iterator>

#include "app/accesskeys.h"
#include "app/keyboardreach.h"
#include "app/layout_tables.h"
#include "app/mainwindow.h"
#include "resources/catalogue.h"

using namespace layout;

namespace {

// What the device told about itself: never edited, but read by Tab like any other field.
bool ShowsDeviceInformation(Field field) {
    static const Field kInformation[] = {Field::radioCode,         Field::acknowledgedAlarmCount,
                                         Field::transmissionCount, Field::firmwareVersion,
                                         Field::productionDate,    Field::firmwareType};
    return std::find(std::begin(kInformation), std::end(kInformation), field) !=
           std::end(kInformation);
}

}  // namespace

void MainWindow::WireHandlers() {
    BindSettings();

    for (const ActionRow& row : Tables::ActionRows()) {
        if (row.onTrigger) connect(this->*row.member, &QAction::triggered, this, row.onTrigger);
    }
    mnuCommVerifyAfterWrite->setCheckable(true);
    // Both New entries share one handler that tells them apart by the sender's Tag.
    for (QAction* action : {mnuFileNewKorbiV2, mnuFileNewKorbiV1})
        connect(action, &QAction::triggered, this, [this, action] { onNewTriggered(action); });

    for (const ButtonRow& row : Tables::ButtonRows())
        connect(this->*row.member, &QPushButton::clicked, this, row.onClick);
}

// The model is the settings' one place: a change of a field shows in its control, and a change
// of a control (the user's edit) goes to its field and its rule. Showing a field's state blocks
// the control's signals, so a change is never handed back and its rule runs exactly once.
void MainWindow::BindSettings() {
    for (int i = 0; i < kFieldCount; ++i) {
        const Field field = Field(i);
        if (auto* edit = qobject_cast<QLineEdit*>(fieldWidgets_[i]);
            edit && ShowsDeviceInformation(field))
            ShowAsInformation(edit);
        if (auto* edit = qobject_cast<QLineEdit*>(fieldWidgets_[i])) {
            connect(edit, &QLineEdit::textChanged, this,
                    [this, field](const QString& text) { settings_.SetText(field, text); });
        } else if (auto* box = qobject_cast<QCheckBox*>(fieldWidgets_[i])) {
            connect(box, &QCheckBox::toggled, this,
                    [this, field](bool ticked) { settings_.SetTicked(field, ticked); });
        }
        ShowField(field);
    }
    settings_.SetObserver([this](Field field) { ShowField(field); });
}

void MainWindow::ShowField(Field field) {
    QWidget* widget = fieldWidgets_[int(field)];
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        // Setting an edit's text moves its cursor to the end: only a real change may do that,
        // or typing in the middle of a text would jump.
        if (edit->text() != settings_.Text(field)) {
            const QSignalBlocker blocker(edit);
            edit->setText(settings_.Text(field));
        }
    } else if (auto* box = qobject_cast<QCheckBox*>(widget)) {
        const QSignalBlocker blocker(box);
        box->setChecked(settings_.Ticked(field));
    }
    if (widget && !ShowsDeviceInformation(field)) widget->setEnabled(settings_.Enabled(field));
}

void MainWindow::BuildControlLists() {
    // One walk over the window's widgets, not a search through all of them for each field.
    // Control names are unique in the window; were one repeated, the first in tree order counts.
    QHash<QString, QWidget*> named;
    for (QWidget* widget : findChildren<QWidget*>())
        if (!named.contains(widget->objectName())) named.insert(widget->objectName(), widget);
    for (int i = 0; i < kFieldCount; ++i)
        fieldWidgets_[i] = named.value(SettingOf(Field(i)).control);
}

void MainWindow::LocaliseCaptions() {
    for (const MenuRow& row : Tables::MenuRows()) (this->*row.member)->setTitle(Text(row.textId));
    for (const ActionRow& row : Tables::ActionRows()) {
        if (row.textId) (this->*row.member)->setText(Text(row.textId));
    }

    pgMain->setTabText(pgMain->indexOf(tbsGeneral), WithAccessKey(Text(Msg::PageGeneral), 'M'));
    pgMain->setTabText(pgMain->indexOf(tbsRFID), WithAccessKey(Text(Msg::PageRfid), 'R'));
    for (const BoxRow& row : Tables::BoxRows())
        (this->*row.member)
            ->setTitle(WithAccessKey(Text(InfoOf(row.group).titleId), row.accessKey));
    const std::vector<LabelRow>& labelRows = Tables::LabelRows();
    for (size_t i = 0; i < labelRows.size(); ++i)
        rowLabels_[i]->setText(WithAccessKey(Text(labelRows[i].textId), labelRows[i].accessKey));

    for (int i = 0; i < kCodesPerGroup; ++i) {
        const QString text = FillText(Msg::LabelDoorCode, {QString::number(i + 1)});
        lblDoorCode[i]->setText(text);
        lblDoorCode_R[i]->setText(text);
    }
    for (int zone = 0; zone < kZonesPerGroup; ++zone) {
        const QString text = FillText(Msg::LabelZone, {QString::number(zone, 16).toUpper()});
        lblZone[zone]->setText(text);
        lblZone_R[zone]->setText(text);
    }

    for (const ButtonRow& row : Tables::ButtonRows()) {
        if (row.textId)
            (this->*row.member)->setText(WithAccessKey(Text(row.textId), row.accessKey));
    }
    NameSettingsControls();
}

// A screen reader speaks each control by its own label, not by its group's title, and tells the
// group on request. The two radio code edits share the row's heading.
void MainWindow::NameSettingsControls() {
    for (int i = 0; i < kFieldCount; ++i) {
        const Field field = Field(i);
        QString name = CaptionOf(field);
        if (field == Field::radioCode || field == Field::newRadioCode)
            name = Text(Msg::LabelRadioCodeId) + ' ' + name;
        NameControl(fieldWidgets_[i], name, Text(InfoOf(SettingOf(field).group).titleId));
    }
}
