#pragma once
// The main window as tables: one row per control with its name, box, place, start value and
// caption id. The layout, the wiring and the localisation all walk these same rows, so a control
// is described in exactly one place.

#include <QString>
#include <array>
#include <vector>

#include "app/mainwindow.h"
#include "resources/msg.h"

namespace layout {

using BoxMember = QGroupBox* MainWindow::*;

// Page of the page control a group box sits on.
enum Page { General = 0, Rfid = 1 };

// A group box; its name and caption are those of its group. The access key of a box whose
// controls have no labels of their own focuses its first control (0: none).
struct BoxRow {
    Group group;
    BoxMember member;
    Page page;
    int x, y, w, h;
    char accessKey = 0;
};

// Labels: (x, y) is the designed top-left of the text; w is the room up to the next control.
// control is the field the label names: its buddy, which the access key focuses (or ticks) and
// a click on a check box's label ticks. accessKey is a letter of the text (Latin-1: '\xDC' is
// Ü), 0 for none; the keys of one page, the page tabs, the buttons and the menu bar differ.
struct LabelRow {
    const char* name;
    BoxMember box;
    int x, y, w;
    int textId;
    Field control;
    char accessKey;
};

// Where a setting's control sits: an edit for a text, a check box for a tick (w unused). Its
// name, start value, limits and enabling are its setting's.
struct PlaceRow {
    Field field;
    BoxMember box;
    int x, y, w;
    int tab;  // tab order within the box
};

// A menu entry; a separator has textId 0 and no handler. parent is the menu it belongs to.
struct ActionRow {
    QAction* MainWindow::*member;
    const char* name;
    QMenu* MainWindow::*parent;
    const char* designText;
    int textId;       // 0: the design text stays
    int shortcutKey;  // Qt::Key combined with Ctrl (a function key alone), 0 for none
    int tag;          // -1: no Tag
    void (MainWindow::*onTrigger)();
};

struct MenuRow {
    QMenu* MainWindow::*member;
    const char* name;
    QMenu* MainWindow::*parent;  // nullptr: on the menu bar
    const char* designText;
    int textId;
};

struct ButtonRow {
    QPushButton* MainWindow::*member;
    const char* name;
    int x, y, w, h;
    int textId;  // 0: the design caption stays
    char accessKey;
    bool visible;
    void (MainWindow::*onClick)();
};

// The tables name the window's private controls: they are its friend.
class Tables {
  public:
    static const std::vector<BoxRow>& BoxRows();
    static const std::vector<LabelRow>& LabelRows();
    static const std::vector<PlaceRow>& PlaceRows();
    static const std::vector<MenuRow>& MenuRows();
    static const std::vector<ActionRow>& ActionRows();
    static const std::vector<ButtonRow>& ButtonRows();
};

// The code-and-zone groups, both laid out alike.
constexpr std::array<int, 4> kCodeX{16, 120, 224, 328};
constexpr std::array<int, 2> kCodeLabelY{32, 88};
constexpr std::array<int, 2> kCodeEditY{56, 112};
constexpr std::array<int, 8> kZoneBoxX{24, 72, 120, 168, 232, 280, 328, 376};
constexpr std::array<int, 2> kZoneLabelY{160, 208};
constexpr std::array<int, 2> kZoneBoxY{184, 232};

// Object names of the group labels: number 1..8 for codes, 0..15 for zones.
QString CodeLabelName(int number, bool restricted);
QString ZoneLabelName(int zone, bool restricted);

}  // namespace layout
