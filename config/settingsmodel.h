#pragma once
// The settings view without widgets: the text or tick and the enabling of every field, the entry
// rules that police them, and the conversion to and from a configuration image. A change of a
// field behaves as a change of its control: a text is cut to the maximum length, and the
// field's rule runs only when the text or tick actually changed, whether the user, the decoder
// or a rule made the change. The window shows the model and hands the user's edits to it.

#include <QChar>
#include <QString>
#include <array>
#include <functional>

#include "config/image.h"
#include "config/messages.h"
#include "config/settingstable.h"

// Results of DecodeConfigImage besides an address.
constexpr int DecodeOk = -1;
constexpr int DecodeBadProduct = -2;

class SettingsModel {
  public:
    // messages answers the rules' warnings; without it they are not shown.
    explicit SettingsModel(Messages* messages = nullptr);
    virtual ~SettingsModel() = default;
    SettingsModel(const SettingsModel&) = delete;
    SettingsModel& operator=(const SettingsModel&) = delete;

    QString Text(Field field) const { return values_[int(field)].text; }
    bool Ticked(Field field) const { return values_[int(field)].ticked; }
    bool Enabled(Field field) const { return values_[int(field)].enabled; }

    // As if typed or decoded into the field's edit.
    void SetText(Field field, const QString& text);
    // As if the box were ticked or unticked.
    void SetTicked(Field field, bool ticked);
    void SetEnabled(Field field, bool enabled);
    // Sets the field named like its control: an edit takes the text, a box "1" (ticked) or "0".
    // False for an unknown name or another value for a box.
    bool SetByName(const QString& name, const QString& value);

    // Called after each change of a field's text, tick or enabling, before its rule runs.
    using Observer = std::function<void(Field)>;
    void SetObserver(Observer observer) { observer_ = std::move(observer); }

    // ---- entry rules that no change sets off ----
    // Leaving the press-time edit checks its lower bound too.
    void LeavePressTimeEdit();
    // Whether a typed character reaches an edit with this filter. Control characters (copy,
    // backspace, paste, cut and the other editing keys) always pass.
    static bool KeyPasses(KeyFilter filter, QChar key);

    // ---- conversion to and from an image ----
    // Shows the fields of image whose cells carry expectedMark; DecodeOk, DecodeBadProduct or
    // the address of the last missing field.
    int DecodeConfigImage(const ConfigImage& image, uint8_t expectedMark);
    // Enables the generation-2 fields for a generation 2 firmware version, else disables them.
    void EnableGeneration2Controls(const ConfigImage& image);
    // Shows a template or configuration file: the generation's enabling (when setEnabling),
    // the decoded fields, and an empty new code when the image was a K-ORBI's. The decoder's
    // result.
    int ShowFileImage(const ConfigImage& image, bool setEnabling);
    // Writes the fields into image with mark; every text converts.
    void EncodeConfigImage(ConfigImage& image, uint8_t mark) const;

    // ---- unsaved edits ----
    // The view counts as edited while its file image differs from the one it had when it was
    // last loaded, saved, read or written; typing a value back to the original clears it.
    void MarkClean();
    bool IsDirty() const;
    // Sets a field to what a device told, as SetText does; that is no edit of the user's, so a
    // view without edits stays without.
    void SetTextAsLoaded(Field field, const QString& text);
    // Called whenever the edited state flips (true: now edited).
    using DirtyObserver = std::function<void(bool)>;
    void SetDirtyObserver(DirtyObserver observer) { dirtyObserver_ = std::move(observer); }

    // ---- checks of a device write that read the fields ----
    bool UsesGeneration2Settings() const;
    bool PressTimeFitsDelay() const;

  protected:
    // Stores a text as the edit would (cut to its maximum length) and reports the change; true
    // when the text changed. The change rule is not run.
    bool StoreText(Field field, const QString& text);
    // Stores a tick and reports the change; true when it changed. The click rule is not run.
    bool StoreTicked(Field field, bool ticked);

  private:
    struct Value {
        QString text;
        bool ticked = false;
        bool enabled = true;
    };

    void Changed(Field field);
    ImageBytes FileBytes() const;
    void RunChangeRule(Field field);
    void RunClickRule(Field field);
    void Error(int textId, const QStringList& args = {});

    std::array<Value, kFieldCount> values_;
    Messages* messages_;
    Observer observer_;
    DirtyObserver dirtyObserver_;
    ImageBytes cleanBytes_{};
    bool dirty_ = false;
};
