// Routes every control of the main window to its handler, finds the four control lists again by
// name, and gives the window its German captions.

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

#include "app/layout_tables.h"
#include "app/mainwindow.h"
#include "resources/catalogue.h"

using namespace layout;

void TfrmMain::WireHandlers() {
    // Change handlers follow textChanged, so they also run when the decoder sets a text.
    for (const EditRow& row : EditRows()) {
        if (row.onChange) connect(this->*row.member, &QLineEdit::textChanged, this, row.onChange);
    }
    // Click rules follow toggled, so they also run when the decoder ticks a box.
    for (const CheckRow& row : CheckRows()) {
        if (row.onClick) connect(this->*row.member, &QCheckBox::toggled, this, row.onClick);
    }

    // The code rule runs on the new radio ID code and on the sixteen door codes.
    auto wireCode = [this](QLineEdit* edit) {
        connect(edit, &QLineEdit::textChanged, this, [this, edit] { edtValidateRadioCode(edit); });
    };
    wireCode(edtRadioCodeNew);
    for (QLineEdit* edit : continuousCodes) wireCode(edit);
    for (QLineEdit* edit : restrictedCodes) wireCode(edit);
    for (QCheckBox* box : continuousZones)
        connect(box, &QCheckBox::toggled, this, [this, box] { cbZoneClick(box); });
    for (QCheckBox* box : restrictedZones)
        connect(box, &QCheckBox::toggled, this, [this, box] { cbZone_RClick(box); });

    for (const ActionRow& row : ActionRows()) {
        if (row.onTrigger) connect(this->*row.member, &QAction::triggered, this, row.onTrigger);
    }
    // Both New entries share one handler that tells them apart by the sender's Tag.
    for (QAction* action : {mnuFileNewKorbiV2, mnuFileNewKorbiV1})
        connect(action, &QAction::triggered, this, [this, action] { mnuFileNewClick(action); });

    for (const ButtonRow& row : ButtonRows())
        connect(this->*row.member, &QPushButton::clicked, this, row.onClick);

    connect(tmrPollLpx, &QTimer::timeout, this, &TfrmMain::tmrPollLpxTimer);
    connect(tmrPollLpxInfo, &QTimer::timeout, this, &TfrmMain::tmrPollLpxInfoTimer);
}

void TfrmMain::BuildControlLists() {
    for (const bool restricted : {false, true}) {
        auto& codes = restricted ? restrictedCodes : continuousCodes;
        auto& zones = restricted ? restrictedZones : continuousZones;
        for (int i = 0; i < kCodeCount; ++i)
            codes[i] = findChild<QLineEdit*>(CodeEditName(i + 1, restricted));
        for (int zone = 0; zone < kZoneCount; ++zone)
            zones[zone] = findChild<QCheckBox*>(ZoneBoxName(zone, restricted));
    }
}

void TfrmMain::LocaliseCaptions() {
    for (const MenuRow& row : MenuRows()) (this->*row.member)->setTitle(Text(row.textId));
    for (const ActionRow& row : ActionRows()) {
        if (row.textId) (this->*row.member)->setText(Text(row.textId));
    }

    pgMain->setTabText(pgMain->indexOf(tbsGeneral), Text(Msg::PageGeneral));
    pgMain->setTabText(pgMain->indexOf(tbsRFID), Text(Msg::PageRfid));
    for (const BoxRow& row : BoxRows()) (this->*row.member)->setTitle(Text(row.titleId));
    for (const LabelRow& row : LabelRows()) (this->*row.member)->setText(Text(row.textId));

    for (int i = 0; i < kCodeCount; ++i) {
        const QString text = FillText(Msg::LabelDoorCode, {QString::number(i + 1)});
        lblDoorCode[i]->setText(text);
        lblDoorCode_R[i]->setText(text);
    }
    for (int zone = 0; zone < kZoneCount; ++zone) {
        const QString text = FillText(Msg::LabelZone, {QString::number(zone, 16).toUpper()});
        lblZone[zone]->setText(text);
        lblZone_R[zone]->setText(text);
    }

    for (const ButtonRow& row : ButtonRows()) {
        if (row.textId) (this->*row.member)->setText(Text(row.textId));
    }
}
