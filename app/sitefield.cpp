#include "app/sitefield.h"

#include <QLineEdit>

#include "app/mainwindow.h"
#include "files/recentfiles.h"
#include "resources/catalogue.h"

SiteField::SiteField(MainWindow& main, QWidget* parent) : QComboBox(parent), main_(main) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(24);
    lineEdit()->setPlaceholderText(Text(Msg::SitePlaceholder));
    setToolTip(Text(Msg::SiteToolTip));
    setAccessibleName(Text(Msg::SiteLabel).remove('&').remove(':'));
    lineEdit()->setAccessibleName(accessibleName());
    Refresh();
    // Chosen from the list, or typed and left: the window's site from now on.
    connect(this, &QComboBox::activated, this, [this] { main_.SetSite(currentText()); });
    connect(lineEdit(), &QLineEdit::editingFinished, this,
            [this] { main_.SetSite(currentText()); });
}

void SiteField::Refresh() {
    const QSignalBlocker blocker(this);
    clear();
    addItems(ReadRecentSites(main_.settingsFilePath));
    setCurrentIndex(-1);
    setEditText(main_.Site());
}
