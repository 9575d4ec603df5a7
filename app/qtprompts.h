#pragma once
// The real user: German message boxes, Qt's file dialogs and the folder picker.

#include <QPointer>
#include <QWidget>

#include "app/prompts.h"

class QMessageBox;

class QtPrompts : public Prompts {
  public:
    // Boxes and dialogs stand over this window once it is visible; before that (start-up)
    // they are centred on the screen.
    void SetParentWindow(QWidget* window) { parent_ = window; }

    BoxAnswer ShowMessage(BoxKind kind, int textId, const QString& text,
                          BoxButtons buttons) override;
    QString AskOpenFile(const FileDialogRequest& request) override;
    QString AskSaveFile(const FileDialogRequest& request) override;
    QString AskFolder(const QString& title, const QString& startFolder) override;

  private:
    QWidget* Parent() const;
    QString AskFile(const FileDialogRequest& request, bool save);

    QPointer<QWidget> parent_;
};

// "Description|*.ext|Other|*.a;*.b" as the file commands give it, in Qt's form
// "Description (*.ext);;Other (*.a *.b)". A filter without "|" is passed on unchanged.
QString QtNameFilter(const QString& filter);
