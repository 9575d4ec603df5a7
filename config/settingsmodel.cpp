#include "config/settingsmodel.h"

namespace {
// An edit without a limit of its own holds as many characters as a line edit does.
constexpr int kEditLengthLimit = 32767;
}  // namespace

SettingsModel::SettingsModel(Messages* messages) : messages_(messages) {
    for (int i = 0; i < kFieldCount; ++i) {
        const SettingRow& info = SettingOf(Field(i));
        values_[i].text = LocaliseStartValue(info.entry.start);
        values_[i].ticked = info.entry.ticked;
        values_[i].enabled = info.entry.enabled;
    }
    cleanBytes_ = FileBytes();
}

bool SettingsModel::StoreText(Field field, const QString& text) {
    const int maxLength = SettingOf(field).entry.maxLength;
    const QString cut = text.left(maxLength > 0 ? maxLength : kEditLengthLimit);
    Value& value = values_[int(field)];
    if (cut == value.text) return false;
    value.text = cut;
    Changed(field);
    return true;
}

void SettingsModel::SetText(Field field, const QString& text) {
    if (StoreText(field, text)) RunChangeRule(field);
}

bool SettingsModel::StoreTicked(Field field, bool ticked) {
    Value& value = values_[int(field)];
    if (value.ticked == ticked) return false;
    value.ticked = ticked;
    Changed(field);
    return true;
}

void SettingsModel::SetTicked(Field field, bool ticked) {
    if (StoreTicked(field, ticked)) RunClickRule(field);
}

void SettingsModel::SetEnabled(Field field, bool enabled) {
    Value& value = values_[int(field)];
    if (value.enabled == enabled) return;
    value.enabled = enabled;
    Changed(field);
}

bool SettingsModel::SetByName(const QString& name, const QString& value) {
    const std::optional<Field> field = FindField(name);
    if (!field) return false;
    if (SettingOf(*field).kind() == FieldKind::Text) {
        SetText(*field, value);
        return true;
    }
    if (value != QLatin1String("0") && value != QLatin1String("1")) return false;
    SetTicked(*field, value == QLatin1String("1"));
    return true;
}

void SettingsModel::Changed(Field field) {
    if (observer_) observer_(field);
    const bool dirty = IsDirty();
    if (dirty == dirty_) return;
    dirty_ = dirty;
    if (dirtyObserver_) dirtyObserver_(dirty);
}

ImageBytes SettingsModel::FileBytes() const {
    // Encoded into a fresh image each time: a placeholder keeps whatever bytes the target held,
    // which must not make two equal views compare different.
    ConfigImage image;
    ClearImage(image);
    EncodeConfigImage(image, MarkToFile);
    return ExtractImageBytes(image);
}

void SettingsModel::MarkClean() {
    cleanBytes_ = FileBytes();
    if (!dirty_) return;
    dirty_ = false;
    if (dirtyObserver_) dirtyObserver_(false);
}

void SettingsModel::SetTextAsLoaded(Field field, const QString& text) {
    const bool clean = !IsDirty();
    SetText(field, text);
    if (clean) MarkClean();
}

bool SettingsModel::IsDirty() const {
    return FileBytes() != cleanBytes_;
}

void SettingsModel::Error(int textId, const QStringList& args) {
    if (messages_) ErrorBox(*messages_, textId, args);
}
