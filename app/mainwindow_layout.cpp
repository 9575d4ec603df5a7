// Builds the main window from the layout tables: absolute positions in 96-dpi pixels, the start
// values and limits of every setting, the menus, the command panel, the status line and timers.

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <algorithm>

#include "app/accesskeys.h"
#include "app/keyboardreach.h"
#include "app/layout_tables.h"
#include "app/mainwindow.h"
#include "app/placewidget.h"
#include "app/readability.h"
#include "app/sitefield.h"
#include "resources/catalogue.h"

using namespace layout;

namespace {

constexpr int kClientWidth = 914;
constexpr int kClientHeight = 581;
constexpr int kStatusHeight = 19;
constexpr int kEditHeight = 21;
constexpr int kCheckWidth = 25;
constexpr int kCheckHeight = 17;

// A row label gets the whole 32-pixel row band around its designed text line, centred
// vertically, so that it lines up with its control and a long text may wrap to a second line
// instead of being cut.
QLabel* MakeRowLabel(QWidget* parent, const QString& name, int x, int y, int w) {
    auto* label = new QLabel(name, parent);
    label->setObjectName(name);
    label->setGeometry(x, y - 10, w, 30);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

// A one-line label of the code-and-zone groups; (x, y) is the designed top-left of its text.
QLabel* MakeSmallLabel(QWidget* parent, const QString& name, int x, int y, int w,
                       Qt::Alignment align) {
    auto* label = new QLabel(name, parent);
    label->setObjectName(name);
    label->setGeometry(x, y - 2, w, 17);
    label->setAlignment(align | Qt::AlignVCenter);
    return label;
}

// The control of a field, with the field's name, limits and key filter; the window's binding
// gives it the field's text or tick and enabling.
QLineEdit* MakeEdit(QWidget* parent, Field field, int x, int y, int w) {
    const SettingRow& info = SettingOf(field);
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(info.control);
    edit->setGeometry(x, y, w, kEditHeight);
    if (info.entry.maxLength > 0) edit->setMaxLength(info.entry.maxLength);
    edit->setProperty("keyFilter", static_cast<int>(info.entry.filter));
    return edit;
}

QCheckBox* MakeCheck(QWidget* parent, Field field, int x, int y) {
    const SettingRow& info = SettingOf(field);
    auto* box = new QCheckBox(parent);
    box->setObjectName(info.control);
    box->setGeometry(x, y, kCheckWidth, kCheckHeight);
    if (info.zone >= 0) box->setProperty("Tag", info.zone);
    return box;
}

// The check box's indicator is drawn in the middle of its height, the row label's text in the
// middle of the row band: the box goes where the two middles meet, on the label's text line.
void LevelWithRowLabel(QCheckBox* box) {
    for (QLabel* label : box->parentWidget()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        const QRect band = label->geometry();
        if (band.right() < box->x() && band.top() <= box->y() && box->y() <= band.bottom()) {
            box->move(box->x(), band.y() + (band.height() - box->height() + 1) / 2);
            return;
        }
    }
}

struct TabEntry {
    int boxIndex;
    int tab;
    QWidget* widget;
};

}  // namespace

void MainWindow::BuildLayout() {
    SetCaption("K-ORBI Programmer");
    // Fixed border, system menu and minimise button; no maximise.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    QFont windowFont = font();
    windowFont.setPointSize(8);
    setFont(windowFont);
    setPalette(WithReadableDisabledText(palette()));
    setAcceptDrops(true);

    // ---- menus ----
    menuBar()->setObjectName("MainMenu1");
    for (const MenuRow& row : Tables::MenuRows()) {
        QMenu* parentMenu = row.parent ? this->*row.parent : nullptr;
        auto* menu = new QMenu(QString::fromUtf8(row.designText), this);
        menu->setObjectName(row.name);
        menu->menuAction()->setObjectName(row.name);
        if (parentMenu)
            parentMenu->addMenu(menu);
        else
            menuBar()->addMenu(menu);
        this->*row.member = menu;
    }
    for (const ActionRow& row : Tables::ActionRows()) {
        QMenu* menu = this->*row.parent;
        auto* action = new QAction(menu);
        action->setObjectName(row.name);
        // A separator has no text: Qt would draw one beside the line.
        if (row.textId == 0 && row.designText[0] == '-')
            action->setSeparator(true);
        else
            action->setText(QString::fromUtf8(row.designText));
        const auto key = Qt::Key(row.shortcutKey);
        if (key >= Qt::Key_F1 && key <= Qt::Key_F35)
            action->setShortcut(QKeySequence(key));
        else if (key)
            action->setShortcut(QKeySequence(QKeyCombination(Qt::ControlModifier, key)));
        if (row.tag >= 0) action->setProperty("Tag", row.tag);
        menu->addAction(action);
        this->*row.member = action;
    }

    // ---- client area: page control, command panel, status line ----
    auto* client = new QWidget(this);
    client->setObjectName("clientArea");
    client->setFixedSize(kClientWidth, kClientHeight - kStatusHeight);
    setCentralWidget(client);

    pgMain = PlaceWidget<QTabWidget>(client, "pgMain", 8, 8, 897, 481);
    tbsGeneral = new QWidget;
    tbsGeneral->setObjectName("tbsGeneral");
    tbsRFID = new QWidget;
    tbsRFID->setObjectName("tbsRFID");
    pgMain->addTab(tbsGeneral, "tbsGeneral");
    pgMain->addTab(tbsRFID, "tbsRFID");

    for (const BoxRow& row : Tables::BoxRows()) {
        QWidget* page = row.page == General ? tbsGeneral : tbsRFID;
        const char* name = InfoOf(row.group).name;
        auto* box = new QGroupBox(name, page);
        box->setObjectName(name);
        box->setGeometry(row.x, row.y, row.w, row.h);
        this->*row.member = box;
    }

    for (const LabelRow& row : Tables::LabelRows())
        rowLabels_.push_back(MakeRowLabel(this->*row.box, row.name, row.x, row.y, row.w));

    std::vector<TabEntry> tabs;
    auto boxIndex = [](BoxMember box) {
        const auto& boxes = Tables::BoxRows();
        const auto it = std::find_if(boxes.begin(), boxes.end(),
                                     [box](const BoxRow& r) { return r.member == box; });
        return int(it - boxes.begin());
    };

    for (const PlaceRow& row : Tables::PlaceRows()) {
        QWidget* parent = this->*row.box;
        QWidget* control = nullptr;
        if (SettingOf(row.field).kind() == FieldKind::Text) {
            control = MakeEdit(parent, row.field, row.x, row.y, row.w);
        } else {
            QCheckBox* box = MakeCheck(parent, row.field, row.x, row.y);
            LevelWithRowLabel(box);
            control = box;
        }
        fieldWidgets_[int(row.field)] = control;
        tabs.push_back({boxIndex(row.box), row.tab, control});
    }

    const std::vector<LabelRow>& labelRows = Tables::LabelRows();
    for (size_t i = 0; i < labelRows.size(); ++i)
        TieLabel(rowLabels_[i], fieldWidgets_[int(labelRows[i].control)]);
    ShowFocusRing();

    // Vertical bar between the two columns of the RF-ID box.
    rfidColumnRule = PlaceWidget<QFrame>(gbxRFID, "Panel2", 432, 20, 3, 137);
    rfidColumnRule->setFrameShape(QFrame::VLine);
    rfidColumnRule->setFrameShadow(QFrame::Sunken);

    // The two code-and-zone groups: codes 1-8 in two rows of four, zones 0-F in two rows of
    // eight.
    for (const bool restricted : {false, true}) {
        QGroupBox* box = restricted ? gbxCodesZonesRestricted : gbxCodesZones;
        const int index = boxIndex(restricted ? &MainWindow::gbxCodesZonesRestricted
                                              : &MainWindow::gbxCodesZones);
        auto& codeLabels = restricted ? lblDoorCode_R : lblDoorCode;
        std::array<QLineEdit*, kCodesPerGroup> codes{};
        auto& zoneLabels = restricted ? lblZone_R : lblZone;
        std::array<QCheckBox*, kZonesPerGroup> zones{};
        for (int i = 0; i < kCodesPerGroup; ++i) {
            const int x = kCodeX[i % 4];
            codeLabels[i] = MakeSmallLabel(box, CodeLabelName(i + 1, restricted), x,
                                           kCodeLabelY[i / 4], 96, Qt::AlignLeft);
            codes[i] = MakeEdit(box, DoorCode(i + 1, restricted), x, kCodeEditY[i / 4], 57);
            fieldWidgets_[int(DoorCode(i + 1, restricted))] = codes[i];
            TieLabel(codeLabels[i], codes[i]);
            tabs.push_back({index, i, codes[i]});
        }
        for (int zone = 0; zone < kZonesPerGroup; ++zone) {
            const int x = kZoneBoxX[zone % 8];
            // The label's text ends where its check box ends.
            constexpr int labelWidth = 40;
            zoneLabels[zone] =
                MakeSmallLabel(box, ZoneLabelName(zone, restricted), x + kCheckWidth - labelWidth,
                               kZoneLabelY[zone / 8], labelWidth, Qt::AlignRight);
            zones[zone] = MakeCheck(box, Zone(zone, restricted), x, kZoneBoxY[zone / 8]);
            fieldWidgets_[int(Zone(zone, restricted))] = zones[zone];
            TieLabel(zoneLabels[zone], zones[zone]);
            tabs.push_back({index, kCodesPerGroup + zone, zones[zone]});
        }
    }

    // Tab order: box by box, within a box by the designed tab index.
    std::stable_sort(tabs.begin(), tabs.end(), [](const TabEntry& a, const TabEntry& b) {
        return a.boxIndex != b.boxIndex ? a.boxIndex < b.boxIndex : a.tab < b.tab;
    });
    for (size_t i = 1; i < tabs.size(); ++i) setTabOrder(tabs[i - 1].widget, tabs[i].widget);

    // Key filters and the exit rule of the press time run in the window's event filter.
    for (QLineEdit* edit : findChildren<QLineEdit*>()) {
        if (FilterOf(edit) != KeyFilter::None) {
            // Text from an input method arrives without a key event: keep it out of edits
            // that take digits only.
            edit->setAttribute(Qt::WA_InputMethodEnabled, false);
            edit->installEventFilter(this);
        } else if (edit == ControlOf(Field::pressTimeSeconds)) {
            edit->installEventFilter(this);
        }
    }

    commandPanel = PlaceWidget<QFrame>(client, "Panel1", 8, 496, 897, 57);
    commandPanel->setFrameShape(QFrame::Panel);
    commandPanel->setFrameShadow(QFrame::Raised);
    for (const ButtonRow& row : Tables::ButtonRows()) {
        auto* button = new QPushButton(row.name, commandPanel);
        button->setObjectName(row.name);
        button->setGeometry(row.x, row.y, row.w, row.h);
        if (!row.visible) {
            // Never shown and never reached by the mouse or the Tab key.
            button->setText("GetKorbiCode");
            // Its design caption is no word for people; a tool that walks the accessibility
            // tree also finds hidden controls.
            button->setAccessibleName(QStringLiteral("Funkkennung lesen"));
            button->setFocusPolicy(Qt::NoFocus);
            button->hide();
        }
        this->*row.member = button;
    }

    sbStatus = new QStatusBar(this);
    sbStatus->setObjectName("sbStatus");
    sbStatus->setSizeGripEnabled(false);
    sbStatus->setFixedHeight(kStatusHeight);
    sbStatusText = new QLabel(sbStatus);
    sbStatusText->setObjectName("sbStatusText");
    sbStatus->addWidget(sbStatusText, 1);
    auto* siteLabel = new QLabel(Text(Msg::SiteLabel), sbStatus);
    cbSite = new SiteField(*this, sbStatus);
    cbSite->setObjectName("cbSite");
    cbSite->setFixedHeight(kStatusHeight);
    siteLabel->setBuddy(cbSite);
    sbStatus->addPermanentWidget(siteLabel);
    sbStatus->addPermanentWidget(cbSite);
    setStatusBar(sbStatus);

    // Client area fixed at its designed size; the window grows only by the menu bar.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    pgMain->setCurrentWidget(tbsGeneral);
}
