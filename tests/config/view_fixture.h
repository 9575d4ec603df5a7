#pragma once
// A settings model without any window, with a scripted user, under a chosen default locale.

#include <gtest/gtest.h>

#include <QLocale>
#include <memory>

#include "config/settingsmodel.h"
#include "support/scripted_prompts.h"

// The model with its quiet stores open, to put a text or tick in place without its rule.
class TestModel : public SettingsModel {
  public:
    using SettingsModel::SettingsModel;
    using SettingsModel::StoreText;
    using SettingsModel::StoreTicked;
};

class ModelTest : public ::testing::Test {
  protected:
    explicit ModelTest(QLocale locale = QLocale(QLocale::German, QLocale::Germany))
        : savedLocale_(QLocale()) {
        QLocale::setDefault(locale);
        model = std::make_unique<TestModel>(&prompts);
    }
    ~ModelTest() override {
        model.reset();
        QLocale::setDefault(savedLocale_);
    }

    // Loads bytes as a file would and shows them, as New and Open do.
    int ShowFile(const ImageBytes& bytes) {
        FillFileImage(fileImage, bytes, MarkFromFile);
        model->EnableGeneration2Controls(fileImage);
        return model->DecodeConfigImage(fileImage, MarkFromFile);
    }
    // Shows the model's encoding into the loaded file image.
    ImageBytes SaveFile() {
        model->EncodeConfigImage(fileImage, MarkToFile);
        return ExtractImageBytes(fileImage);
    }

    QString Text(Field f) const { return model->Text(f); }
    bool Ticked(Field f) const { return model->Ticked(f); }
    static std::string Name(Field f) { return SettingOf(f).control.toStdString(); }

    ScriptedPrompts prompts;
    ConfigImage fileImage;
    std::unique_ptr<TestModel> model;

  private:
    QLocale savedLocale_;
};

// A generation 2 configuration whose every field holds a distinct, valid value, and whose bytes
// that the program does not use hold a pattern that must travel unchanged.
inline ImageBytes Generation2Bytes() {
    ImageBytes b{};
    for (int a = 0; a < kImageSize; ++a) b[a] = static_cast<uint8_t>(a * 7 + 3);
    const std::pair<int, uint8_t> fields[] = {
        {0x20, 0x12}, {0x21, 0x34},                // radio ID code 1234
        {0x22, 0x14}, {0x23, 0x05}, {0x24, 0x27},  // production date 140527
        {0x27, 9},    {0x28, 19},   {0x29, 1},    {0x2A, 0x01},
        {0x2B, 0x02}, {0x2C, 24},   {0x2D, 0x5B}, {0x2E, 0x00},
        {0x2F, 0x21}, {0x30, 0x81}, {0x31, 0x0F},  // zones 0-3, 8 and F continuous
        {0x32, 30},   {0x33, 0x3A}, {0x34, 3},    {0x35, 25},
        {0x36, 12},   {0x38, 0xFF}, {0x39, 0xFE}, {0x3A, 200},
        {0x3B, 0x0B}, {0x3C, 25},   {0x3D, 0x40}, {0x3E, 0x30},  // zones 4, 5 and E restricted
    };
    for (const auto& [address, value] : fields) b[address] = value;
    const uint16_t codes[8] = {0x000A, 0x1234, 0x0000, 0xABCD, 0x8001, 0x0000, 0x0100, 0x7FFE};
    const uint16_t codesR[8] = {0x0000, 0x4321, 0x00FF, 0x0000, 0xBEEF, 0x1000, 0x0000, 0x0002};
    for (int k = 0; k < 8; ++k) {
        b[0x40 + 2 * k] = codes[k] >> 8;
        b[0x41 + 2 * k] = codes[k] & 0xFF;
        b[0x50 + 2 * k] = codesR[k] >> 8;
        b[0x51 + 2 * k] = codesR[k] & 0xFF;
    }
    return b;
}
