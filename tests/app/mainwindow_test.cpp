// The main window as it is drawn: every control by name, in its box at its place, with its start
// value, limit, enabled state, tab order and caption.

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>

#include "app/readability.h"
#include "resources/catalogue.h"
#include "window_fixture.h"

namespace {

struct Place {
    const char* name;
    const char* parent;
    int x, y, w, h;
};

// Value controls of both pages: edits 57 x 21 (RF-ID box 49 wide), check boxes 25 x 17 on their
// label's text line (y: see LabelsStandBesideTheirControls...).
const Place kControlPlaces[] = {
    {"edtRadioCodeOld", "gbxRadioParameters", 224, 24, 57, 21},
    {"edtRadioCodeNew", "gbxRadioParameters", 352, 24, 57, 21},
    {"edtNoShortTx", "gbxRadioParameters", 352, 56, 57, 21},
    {"edtNoLongTx", "gbxRadioParameters", 352, 88, 57, 21},
    {"cbRadioTestAlarmActive", "gbxTechnicalAlarmsInfo", 352, -1, 25, 17},
    {"edtRadioTestAlarmInterval", "gbxTechnicalAlarmsInfo", 352, 56, 57, 21},
    {"cbConfig_D6", "gbxTechnicalAlarmsInfo", 352, -1, 25, 17},
    {"edtMissedAck", "gbxTechnicalAlarmsInfo", 352, 120, 57, 21},
    {"edtBatteryTestInterval", "gbxTechnicalAlarmsInfo", 352, 152, 57, 21},
    {"edtButtonCounter", "gbxTechnicalAlarmsInfo", 352, 184, 57, 21},
    {"edtTotalTxCounter", "gbxTechnicalAlarmsInfo", 352, 216, 57, 21},
    {"cbConfig_D4", "gbxUserAlarms", 352, -1, 25, 17},
    {"cbConfig2_D1", "gbxUserAlarms", 352, -1, 25, 17},
    {"cbConfig2_D2", "gbxUserAlarms", 352, -1, 25, 17},
    {"cbConfig2_D3", "gbxUserAlarms", 352, -1, 25, 17},
    {"edtLongDoubleTriplePressTime", "gbxUserAlarms", 352, 152, 57, 21},
    {"edtButtonActivationDelay", "gbxUserAlarms", 352, 184, 57, 21},
    {"edtDementiaBlockTime", "gbxUserAlarms", 352, 216, 57, 21},
    {"cbConfig_D1", "gbxUserAlarms", 352, -1, 25, 17},
    {"edtFirmwareVersion", "gbxProductInformation", 352, 24, 57, 21},
    {"edtProductionDate", "gbxProductInformation", 352, 56, 57, 21},
    {"edtFirmwareType", "gbxProductInformation", 352, 88, 57, 21},
    {"cbConfig_D0", "gbxRFID", 368, -1, 25, 17},
    {"edtRfidInactivity", "gbxRFID", 368, 56, 49, 21},
    {"edtRadioInactivity", "gbxRFID", 368, 88, 49, 21},
    {"cbConfig_D2", "gbxRFID", 368, -1, 25, 17},
    {"cbConfig_D5", "gbxRFID", 808, -1, 25, 17},
    {"cbConfig_D3", "gbxRFID", 808, -1, 25, 17},
    {"cbConfig2_D0", "gbxRFID", 808, -1, 25, 17},
    {"edtOutOfFieldTimeToRetransmit", "gbxRFID", 808, 120, 49, 21},
    // Containers.
    {"pgMain", "clientArea", 8, 8, 897, 481},
    {"gbxRadioParameters", "tbsGeneral", 8, 0, 433, 145},
    {"gbxTechnicalAlarmsInfo", "tbsGeneral", 8, 152, 433, 297},
    {"gbxUserAlarms", "tbsGeneral", 448, 0, 433, 305},
    {"gbxProductInformation", "tbsGeneral", 448, 312, 433, 137},
    {"gbxRFID", "tbsRFID", 8, 0, 873, 169},
    {"gbxCodesZones", "tbsRFID", 8, 176, 433, 273},
    {"gbxCodesZonesRestricted", "tbsRFID", 448, 176, 433, 273},
    {"Panel2", "gbxRFID", 432, -1, 3, 137},  // y is free
    {"Panel1", "clientArea", 8, 496, 897, 57},
    {"btnReadFromDevice", "Panel1", 496, 8, 185, 41},
    {"btnWriteToDevice", "Panel1", 696, 8, 185, 41},
    {"btnGetKorbiCode", "Panel1", 136, 16, 97, 33},
};

// Labels: the box, the left edge of the text and the designed line of the text.
struct LabelPlace {
    const char* name;
    const char* box;
    int x, y;
    int textId;
};

const LabelPlace kLabels[] = {
    {"lblRadioCodeId", "gbxRadioParameters", 16, 32, 10123},
    {"lblOld", "gbxRadioParameters", 184, 32, 10124},
    {"lblNew", "gbxRadioParameters", 312, 32, 10125},
    {"lblNoOfShortTransmissions", "gbxRadioParameters", 16, 64, 10126},
    {"lblNoOfLongTransmissions", "gbxRadioParameters", 16, 96, 10127},
    {"lblRadioTestAlarmActive", "gbxTechnicalAlarmsInfo", 16, 32, 10142},
    {"lblRadioTestAlarmInterval", "gbxTechnicalAlarmsInfo", 16, 64, 10143},
    {"lblTransmitTestAlarmWithButtonCounterValue", "gbxTechnicalAlarmsInfo", 16, 96, 10146},
    {"lblNoOfMissedAckBeforeSleep", "gbxTechnicalAlarmsInfo", 16, 128, 10144},
    {"lblBatteryTestInterval", "gbxTechnicalAlarmsInfo", 16, 160, 10145},
    {"lblButtonCounter", "gbxTechnicalAlarmsInfo", 16, 192, 10147},
    {"lblTotalTxCounter", "gbxTechnicalAlarmsInfo", 16, 224, 10148},
    {"lblShortPressEnabled", "gbxUserAlarms", 16, 32, 10162},
    {"lblLongPressEnabled", "gbxUserAlarms", 16, 64, 10163},
    {"lblDoublePressEnabled", "gbxUserAlarms", 16, 96, 10164},
    {"lblTriplePressEnabled", "gbxUserAlarms", 16, 128, 10165},
    {"lblLongDoubleTriplePressTime", "gbxUserAlarms", 16, 160, 10166},
    {"lblButtonActivationDelay", "gbxUserAlarms", 16, 192, 10167},
    {"lblDementiaBlockTime", "gbxUserAlarms", 16, 224, 10168},
    {"lblTransmitUserAlarmWithPositionInfo", "gbxUserAlarms", 16, 256, 10169},
    {"lblFirmwareVersion", "gbxProductInformation", 16, 32, 10182},
    {"lblProductionDate", "gbxProductInformation", 16, 64, 10183},
    {"lblFirmwareType", "gbxProductInformation", 16, 96, 10184},
    {"lblRfidActive", "gbxRFID", 16, 32, 10203},
    {"lblRfidInactivityPeriodAfterReceive", "gbxRFID", 16, 64, 10204},
    {"lblRadioInactivityPeriodAfterTransmit", "gbxRFID", 16, 96, 10205},
    {"lblTransmitExtendedMessages", "gbxRFID", 16, 128, 10206},
    {"lblTransmitDoorAlarmInsteadOfPosition", "gbxRFID", 456, 32, 10207},
    {"lblPersonnelDevice", "gbxRFID", 456, 64, 10208},
    {"lblRetransmitWhenReentering", "gbxRFID", 456, 96, 10209},
    {"lblTimeOutOfFieldToAllowTx", "gbxRFID", 456, 128, 10210},
};

struct EditStart {
    const char* name;
    const char* start;
    int maxLength;  // 0: Qt's default
    bool enabled;
    KeyFilter filter;
};

const EditStart kEdits[] = {
    {"edtRadioCodeOld", "", 4, false, KeyFilter::Hexadecimal},
    {"edtRadioCodeNew", "", 4, true, KeyFilter::Hexadecimal},
    {"edtNoShortTx", "3", 2, true, KeyFilter::WholeNumber},
    {"edtNoLongTx", "3", 2, true, KeyFilter::WholeNumber},
    {"edtRadioTestAlarmInterval", "9", 3, false, KeyFilter::WholeNumber},
    {"edtMissedAck", "19", 3, false, KeyFilter::WholeNumber},
    {"edtBatteryTestInterval", "24", 3, true, KeyFilter::WholeNumber},
    {"edtButtonCounter", "", 0, false, KeyFilter::None},
    {"edtTotalTxCounter", "", 0, false, KeyFilter::None},
    {"edtLongDoubleTriplePressTime", "2,5", 4, true, KeyFilter::Decimal},
    {"edtButtonActivationDelay", "0,1", 4, true, KeyFilter::Decimal},
    {"edtDementiaBlockTime", "0", 3, true, KeyFilter::WholeNumber},
    {"edtFirmwareVersion", "", 0, false, KeyFilter::None},
    {"edtProductionDate", "", 0, false, KeyFilter::None},
    {"edtFirmwareType", "", 0, false, KeyFilter::None},
    {"edtRfidInactivity", "3", 3, true, KeyFilter::WholeNumber},
    {"edtRadioInactivity", "25", 3, true, KeyFilter::WholeNumber},
    {"edtOutOfFieldTimeToRetransmit", "10", 3, true, KeyFilter::WholeNumber},
};

struct CheckStart {
    const char* name;
    bool checked;
    bool enabled;
};

const CheckStart kChecks[] = {
    {"cbRadioTestAlarmActive", false, true},
    {"cbConfig_D6", false, false},
    {"cbConfig_D4", true, true},
    {"cbConfig2_D1", false, true},
    {"cbConfig2_D2", false, true},
    {"cbConfig2_D3", false, true},
    {"cbConfig_D1", true, true},
    {"cbConfig_D0", true, true},
    {"cbConfig_D2", true, true},
    {"cbConfig_D5", false, true},
    {"cbConfig_D3", false, true},
    {"cbConfig2_D0", true, true},
};

QString Hex(int zone) {
    return QString::number(zone, 16).toUpper();
}
QString Suffix(bool restricted) {
    return restricted ? "_R" : "";
}

// The next widget after from that the Tab key can reach, ignoring the enabled state.
QWidget* NextTabStop(QWidget* from) {
    for (QWidget* w = from->nextInFocusChain(); w && w != from; w = w->nextInFocusChain()) {
        if ((w->focusPolicy() & Qt::TabFocus) && !w->isHidden() &&
            (qobject_cast<QLineEdit*>(w) || qobject_cast<QCheckBox*>(w) ||
             qobject_cast<QPushButton*>(w)))
            return w;
    }
    return nullptr;
}

QString NameOf(const QWidget* w) {
    return w ? w->objectName() : QString("(none)");
}

}  // namespace

TEST_F(WindowTest, EveryControlSitsInItsBoxAtItsPlace) {
    for (const Place& p : kControlPlaces) {
        SCOPED_TRACE(p.name);
        QWidget* w = Find(p.name);
        if (!w) continue;
        ASSERT_TRUE(w->parentWidget());
        EXPECT_EQ(w->parentWidget()->objectName(), p.parent);
        const QRect g = w->geometry();
        EXPECT_EQ(g.x(), p.x);
        if (p.y >= 0) {
            EXPECT_EQ(g.y(), p.y);
        }
        EXPECT_EQ(g.width(), p.w);
        EXPECT_EQ(g.height(), p.h);
    }
    EXPECT_EQ(window->findChild<QTabWidget*>("pgMain")->indexOf(
                  window->findChild<QWidget*>("tbsGeneral")),
              0);
    EXPECT_EQ(
        window->findChild<QTabWidget*>("pgMain")->indexOf(window->findChild<QWidget*>("tbsRFID")),
        1);
    EXPECT_EQ(window->findChild<QTabWidget*>("pgMain")->currentWidget(),
              window->findChild<QWidget*>("tbsGeneral"));
}

TEST_F(WindowTest, LabelsStandBesideTheirControlsAndCarryNoTextOfTheCheckBoxes) {
    for (const LabelPlace& l : kLabels) {
        SCOPED_TRACE(l.name);
        auto* label = Find<QLabel>(l.name);
        if (!label) continue;
        EXPECT_EQ(label->parentWidget()->objectName(), l.box);
        EXPECT_EQ(label->x(), l.x);
        // The designed text line (13 pixels from y) lies inside the label.
        EXPECT_LE(label->y(), l.y);
        EXPECT_GE(label->geometry().bottom(), l.y + 12);
    }
    int levelled = 0;
    for (QCheckBox* box : window->findChildren<QCheckBox*>()) {
        EXPECT_TRUE(box->text().isEmpty()) << box->objectName().toStdString();
        // A row's box sits on its label's text line: indicator and text are both centred.
        const int middle = box->geometry().center().y();
        auto* label = qobject_cast<QLabel*>(box->parentWidget()->childAt(box->x() - 20, middle));
        if (!label) continue;
        EXPECT_NEAR(label->geometry().center().y(), middle, 1) << NameOf(box).toStdString();
        ++levelled;
    }
    EXPECT_EQ(levelled, 12);
}

TEST_F(WindowTest, EditsStartWithTheirValuesLimitsFiltersAndEnabledState) {
    for (const EditStart& e : kEdits) {
        SCOPED_TRACE(e.name);
        auto* edit = Find<QLineEdit>(e.name);
        if (!edit) continue;
        // The start values are shown with the locale's separator.
        EXPECT_EQ(edit->text(), QString(e.start).replace(",", QLocale().decimalPoint()));
        EXPECT_EQ(edit->maxLength(), e.maxLength ? e.maxLength : QLineEdit().maxLength());
        EXPECT_EQ(edit->isEnabled() && !edit->isReadOnly(), e.enabled);
        // Greyed, yet readable: the value's text stands out from the greyed field by 4.5:1.
        const QPalette& p = edit->palette();
        EXPECT_GE(ContrastRatio(p.color(QPalette::Disabled, QPalette::Text),
                                p.color(QPalette::Disabled, QPalette::Base)),
                  4.5);
        EXPECT_EQ(MainWindow::FilterOf(edit), e.filter);
    }
    for (const CheckStart& c : kChecks) {
        SCOPED_TRACE(c.name);
        auto* box = Find<QCheckBox>(c.name);
        if (!box) continue;
        EXPECT_EQ(box->isChecked(), c.checked);
        EXPECT_EQ(box->isEnabled(), c.enabled);
    }
}

TEST_F(WindowTest, TimesInTenthsUseTheLocaleDecimalSeparator) {
    const QLocale saved;
    struct Case {
        QLocale::Language language;
        QLocale::Territory territory;
        const char* pressTime;
        const char* delay;
    } cases[] = {{QLocale::German, QLocale::Germany, "2,5", "0,1"},
                 {QLocale::English, QLocale::UnitedStates, "2.5", "0.1"}};
    for (const Case& c : cases) {
        QLocale::setDefault(QLocale(c.language, c.territory));
        MakeWindow();
        EXPECT_EQ(window->findChild<QLineEdit*>("edtLongDoubleTriplePressTime")->text(),
                  c.pressTime);
        EXPECT_EQ(window->findChild<QLineEdit*>("edtButtonActivationDelay")->text(), c.delay);
    }
    QLocale::setDefault(saved);
    // Setting a start value is no change by the user: no rule spoke up.
    EXPECT_TRUE(prompts.records.isEmpty());
}

TEST_F(WindowTest, CodeAndZoneGroupsAreAlikeAndFillTheControlLists) {
    window->LocaliseCaptions();
    for (const bool restricted : {false, true}) {
        SCOPED_TRACE(restricted ? "restricted" : "continuous");
        const QString box = restricted ? "gbxCodesZonesRestricted" : "gbxCodesZones";
        for (int i = 0; i < 8; ++i) {
            const QString n = QString::number(i + 1);
            auto* label = Find<QLabel>("lblDoorCode" + n + Suffix(restricted));
            auto* edit = Find<QLineEdit>("edtDoorCode" + n + Suffix(restricted));
            if (!label || !edit) continue;
            EXPECT_EQ(window->ControlOf(DoorCode(i + 1, restricted)), edit);
            EXPECT_EQ(edit->parentWidget()->objectName(), box);
            EXPECT_EQ(edit->geometry(),
                      QRect(QList<int>{16, 120, 224, 328}[i % 4], i < 4 ? 56 : 112, 57, 21));
            EXPECT_EQ(label->x(), edit->x());
            EXPECT_EQ(label->text(), "Nummer " + n);
            EXPECT_TRUE(edit->text().isEmpty());
            EXPECT_EQ(edit->maxLength(), 4);
            EXPECT_EQ(MainWindow::FilterOf(edit), KeyFilter::Hexadecimal);
        }
        for (int zone = 0; zone < 16; ++zone) {
            auto* label = Find<QLabel>("lblZone" + Hex(zone) + Suffix(restricted));
            auto* check = Find<QCheckBox>("cbZone" + Hex(zone) + Suffix(restricted));
            if (!label || !check) continue;
            EXPECT_EQ(window->ControlOf(Zone(zone, restricted)), check);
            EXPECT_EQ(check->property("Tag").toInt(), zone);
            EXPECT_EQ(check->geometry(),
                      QRect(QList<int>{24, 72, 120, 168, 232, 280, 328, 376}[zone % 8],
                            zone < 8 ? 184 : 232, 25, 17));
            // The label stands over its box, right-aligned.
            EXPECT_LT(label->geometry().bottom(), check->y());
            EXPECT_GE(label->geometry().right(), check->x());
            EXPECT_TRUE(label->alignment() & Qt::AlignRight);
            EXPECT_EQ(label->text(), "Zone " + Hex(zone));
            EXPECT_EQ(check->isChecked(), !restricted && zone < 4) << zone;
        }
    }

    // Start-up finds the same controls again by name.
    window->BuildControlLists();
    for (int i = 0; i < kFieldCount; ++i)
        EXPECT_EQ(window->ControlOf(Field(i))->objectName(), SettingOf(Field(i)).control);
}

TEST_F(WindowTest, TabWalksEachBoxInItsDesignedOrder) {
    const QStringList chains[] = {
        {"edtRadioCodeOld", "edtRadioCodeNew", "edtNoShortTx", "edtNoLongTx"},
        {"cbRadioTestAlarmActive", "edtRadioTestAlarmInterval", "cbConfig_D6", "edtMissedAck",
         "edtBatteryTestInterval", "edtButtonCounter", "edtTotalTxCounter"},
        {"cbConfig_D4", "cbConfig2_D1", "cbConfig2_D2", "cbConfig2_D3",
         "edtLongDoubleTriplePressTime", "edtButtonActivationDelay", "edtDementiaBlockTime",
         "cbConfig_D1"},
        {"edtFirmwareVersion", "edtProductionDate", "edtFirmwareType"},
        {"cbConfig_D0", "edtRfidInactivity", "edtRadioInactivity", "cbConfig_D2", "cbConfig_D5",
         "cbConfig_D3", "cbConfig2_D0", "edtOutOfFieldTimeToRetransmit"},
    };
    for (const QStringList& chain : chains) {
        for (int i = 0; i + 1 < chain.size(); ++i)
            EXPECT_EQ(NameOf(NextTabStop(Find(chain[i]))), chain[i + 1]);
    }
    for (const bool restricted : {false, true}) {
        QStringList chain;
        for (int i = 1; i <= 8; ++i)
            chain << "edtDoorCode" + QString::number(i) + Suffix(restricted);
        for (int zone = 0; zone < 16; ++zone) chain << "cbZone" + Hex(zone) + Suffix(restricted);
        for (int i = 0; i + 1 < chain.size(); ++i)
            EXPECT_EQ(NameOf(NextTabStop(Find(chain[i]))), chain[i + 1]);
    }
}

TEST_F(WindowTest, HiddenButtonCannotBeReachedByMouseOrTab) {
    window->show();
    QPushButton* hidden = window->findChild<QPushButton*>("btnGetKorbiCode");
    EXPECT_TRUE(hidden->isHidden());
    EXPECT_EQ(hidden->focusPolicy(), Qt::NoFocus);
    EXPECT_NE(window->findChild<QFrame*>("Panel1")->childAt(hidden->geometry().center()), hidden);
    EXPECT_EQ(hidden->text(), "GetKorbiCode");
    // Walking the whole chain never stops on it.
    QWidget* start = window->findChild<QPushButton*>("btnWriteToDevice");
    QWidget* w = start;
    for (int i = 0; i < 200; ++i) {
        w = NextTabStop(w);
        ASSERT_TRUE(w);
        EXPECT_NE(w, hidden);
        if (w == start) break;
    }
}

TEST_F(WindowTest, WindowHasFixedClientAreaMenuStatusLineAndTimers) {
    window->show();
    EXPECT_EQ(window->windowTitle(), "K-ORBI Programmer");
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    EXPECT_EQ(window->width(), 914);
    EXPECT_EQ(window->height() - window->menuBar()->height(), 581);
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(window->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(window->acceptDrops());

    EXPECT_EQ(window->findChild<QStatusBar*>("sbStatus")->objectName(), "sbStatus");
    EXPECT_EQ(window->findChild<QStatusBar*>("sbStatus")->height(), 19);
    EXPECT_EQ(window->findChild<QStatusBar*>("sbStatus")->geometry().bottom(),
              window->height() - 1);
    EXPECT_TRUE(window->StatusText().isEmpty());
}

TEST_F(WindowTest, CaptionsComeFromTheCatalogueOnlyAfterLocalising) {
    // A group box and a menu show a title, the other controls a text.
    auto caption = [&](const char* name) {
        const QObject* shown = window->findChild<QObject*>(name);
        if (!shown) return QString("no ") + name;
        const QVariant title = shown->property("title");
        return (title.isValid() ? title : shown->property("text")).toString();
    };
    // Before start-up localises them, nothing shows a German caption.
    EXPECT_NE(caption("lblOld"), Text(10124));
    EXPECT_NE(caption("btnReadFromDevice"), Text(10251));
    EXPECT_NE(caption("mnuFile"), Text(10101));

    window->LocaliseCaptions();
    for (const LabelPlace& l : kLabels) {
        if (auto* label = Find<QLabel>(l.name)) {  // the access key's mark aside
            EXPECT_EQ(label->text().remove('&'), Text(l.textId)) << l.name;
        }
    }
    auto* pages = Find<QTabWidget>("pgMain");
    EXPECT_EQ(pages->tabText(0), "Allge&mein");
    EXPECT_EQ(pages->tabText(1), "&RFID");
    const std::pair<const char*, const char*> captions[] = {
        {"gbxRadioParameters", "Funkparameter"},
        {"gbxTechnicalAlarmsInfo", "Technische Alarme/Information"},
        {"gbxUserAlarms", "Anwenderalarme"},
        {"gbxProductInformation", "Produktinformation"},
        {"gbxRFID", "RFID"},
        {"gbxCodesZones", "&Kennnummern und Zonen mit steter Sendewiederholung"},
        {"gbxCodesZonesRestricted",
         "Kennnummern und Zonen mit keiner oder &begrenzter Sendewiederholung"},
        {"btnReadFromDevice", "&Lesen vom K-ORBI"},
        {"btnWriteToDevice", "&Schreiben zum K-ORBI"},
        {"btnGetKorbiCode", "GetKorbiCode"},
        {"mnuFile", "&Datei"},
        {"mnuFileNew", "&Neu"},
        {"mnuFileNewKorbiV2", "K-ORBI v2.x"},
        {"mnuFileNewKorbiV1", "K-ORBI v1.x"},
        {"mnuFileOpen", "Ö&ffnen..."},
        {"mnuFileSave", "&Speichern"},
        {"mnuFileSaveAs", "Speichern &unter..."},
        {"mnuFileSelectDefaultFolder", "Wähle Standard&verzeichnis..."},
        {"mnuFileExit", "&Beenden"},
        {"mnuComm", "K&ommunikation"},
        {"mnuCommReadFromDevice", "&Lesen vom K-ORBI"},
        {"mnuCommWriteToDevice", "Sch&reiben zum K-ORBI"},
        {"mnuCommChangeIdCode", "&Kennnummer ändern..."},
        {"mnuCommShowJournal", "&Protokoll anzeigen"},
        {"mnuHelp", "&Hilfe"},
        {"mnuHelpAbout", "&Info..."},
    };
    for (const auto& [name, expected] : captions)
        EXPECT_EQ(caption(name), QString::fromUtf8(expected)) << name;
    // Localising leaves the values alone.
    EXPECT_EQ(window->findChild<QLineEdit*>("edtNoShortTx")->text(), "3");
    EXPECT_TRUE(prompts.records.isEmpty());
}

// Centring belongs to showing the window, not to restoring it from the task bar: a window the
// user moved stays where it was put.
TEST_F(WindowTest, RestoringTheMinimisedWindowKeepsItWhereTheUserPutIt) {
    window->show();
    const QPoint centred = window->pos();
    const QPoint moved = centred + QPoint(-40, 25);
    window->move(moved);
    window->setWindowState(Qt::WindowMinimized);
    window->setWindowState(Qt::WindowNoState);
    EXPECT_EQ(window->pos(), moved);

    // Shown anew, it is centred again.
    window->hide();
    window->show();
    EXPECT_EQ(window->pos(), centred);
}
