#pragma once
// The customer's site ("Objekt") that every record line names: an editable list of the sites
// named last, in the main window's status area and in the series dialog. Both show the same
// site; a change in either is the window's site from then on.

#include <QComboBox>

class MainWindow;

class SiteField : public QComboBox {
    Q_OBJECT
  public:
    // Offers main's recent sites and shows its site; a site typed or chosen becomes main's.
    SiteField(MainWindow& main, QWidget* parent);
    // The list and the text anew from main.
    void Refresh();

  private:
    MainWindow& main_;
};
