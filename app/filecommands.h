#pragma once
// The file commands of the main window: File > New, Open, Save, Save As, a dropped file, a file
// named on the command line, and the window title that names the file the window is bound to.
// They work on the settings model and the window's file binding, and reach the user through the
// prompts and a narrow view (status line and title), so that they need no main window.

#include <QString>
#include <QStringList>
#include <functional>

#include "config/image.h"

class Prompts;
class SettingsModel;

// How LoadConfigurationFile was reached.
enum class LoadKind { Open, Drop, CommandLine };

// The window state the commands work on. The window owns it; the commands hold references.
struct FileBinding {
    QString& currentFileName;
    int& configOrigin;  // a ConfigOrigin
    ConfigImage& fileImage;
    const QString& defaultFolder;          // where the file dialogs start without a file
    const QString& applicationDataFolder;  // where the installed templates are
};

// What the commands show beside message boxes.
class FileCommandView {
  public:
    virtual ~FileCommandView() = default;
    virtual void SetStatusText(const QString& text) = 0;
    virtual void SetCaption(const QString& title) = 0;
};

class FileCommands {
  public:
    // prompts is the window's Prompts pointer, read at every use.
    FileCommands(SettingsModel& model, Prompts* const& prompts, FileCommandView& view,
                 FileBinding binding)
        : model_(model), prompts_(prompts), view_(view), binding_(binding) {}

    // Shows the installed template of generation 1 or 2.
    void New(int generation);
    void Open();
    void Save();
    void SaveAs();
    void HandleDroppedFiles(const QStringList& paths);
    void LoadConfigurationFile(const QString& path, LoadKind kind);
    // Shows 256 bytes that a device held (a journal line's) as a read shows them, with
    // statusText on the status line once they are shown.
    void ShowDeviceBytes(const ImageBytes& bytes, const QString& statusText);
    // Writes the file image to the current file name: status line or box, then the title.
    void WriteCurrentFile();
    void UpdateCaption();

    // Asked right before a load replaces the settings shown (New, Open, a drop, a recent file);
    // false keeps them and ends the load.
    void SetLossGuard(std::function<bool()> guard) { lossGuard_ = std::move(guard); }

  private:
    Prompts& prompts() const { return *prompts_; }
    // Decodes the file image into the settings; false after the box that says why it failed.
    // setEnabling as the model's ShowFileImage takes it.
    bool ShowFileImage(bool setEnabling);

    SettingsModel& model_;
    Prompts* const& prompts_;
    FileCommandView& view_;
    FileBinding binding_;
    std::function<bool()> lossGuard_;

    bool MayReplaceView() const { return !lossGuard_ || lossGuard_(); }
    // The name Save As proposes.
    QString ProposedSaveName() const;
    int templateGeneration_ = 2;  // of the template shown last
    void RememberFile() const;
};
