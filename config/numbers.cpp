#include "config/numbers.h"

#include <QLocale>
#include <cmath>
#include <limits>

QChar DecimalSeparator() {
    const QString point = QLocale().decimalPoint();
    return point.isEmpty() ? QChar('.') : point.at(0);
}

std::optional<int32_t> ParseWholeNumber(const QString& text) {
    int i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == text.size()) return std::nullopt;
    int64_t value = 0;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        // Only ASCII digits: QChar::isDigit would also take other scripts' digits.
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c.unicode() - '0');
        if (value > int64_t(std::numeric_limits<int32_t>::max()) + 1) return std::nullopt;
    }
    if (negative) value = -value;
    if (value > std::numeric_limits<int32_t>::max() || value < std::numeric_limits<int32_t>::min())
        return std::nullopt;
    return static_cast<int32_t>(value);
}

int32_t WholeNumberOrZero(const QString& text) {
    return ParseWholeNumber(text).value_or(0);
}

uint8_t WholeNumberByte(const QString& text) {
    return static_cast<uint8_t>(static_cast<uint32_t>(WholeNumberOrZero(text)) & 0xFF);
}

namespace {
// The number with "." as separator, or an empty text when it is no decimal number. The current
// separator is the only one taken: QLocale::toDouble would accept group separators and read
// "2.5" as 25 under a German locale.
QString NormalisedDecimal(const QString& text) {
    const QChar separator = DecimalSeparator();
    QString out;
    int i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) out += text[i++];
    int digits = 0;
    bool seenSeparator = false;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c >= '0' && c <= '9') {
            out += c;
            ++digits;
        } else if (c == separator && !seenSeparator) {
            out += '.';
            seenSeparator = true;
        } else {
            return QString();
        }
    }
    return digits > 0 ? out : QString();
}
}  // namespace

std::optional<float> ParseDecimal(const QString& text) {
    const QString normalised = NormalisedDecimal(text);
    if (normalised.isEmpty()) return std::nullopt;
    bool ok = false;
    // QString::toDouble reads the C locale's form, whatever the default locale is.
    const double value = normalised.toDouble(&ok);
    if (!ok || !std::isfinite(value)) return std::nullopt;
    return static_cast<float>(value);
}

uint8_t TenthsByte(const QString& text, uint8_t fallback) {
    const QString normalised = NormalisedDecimal(text);
    if (normalised.isEmpty()) return fallback;
    bool ok = false;
    const double value = normalised.toDouble(&ok);
    if (!ok || !std::isfinite(value)) return fallback;
    // Rounding to single precision before cutting makes 0,3 x 10 exactly 3, not 2.999...
    const float scaled = static_cast<float>(value * 10.0);
    if (!std::isfinite(scaled)) return fallback;
    const double whole = std::trunc(static_cast<double>(scaled));
    // Low 8 bits of the whole number, also for values far outside a byte.
    double low = std::fmod(whole, 256.0);
    if (low < 0) low += 256.0;
    return static_cast<uint8_t>(static_cast<int>(low) & 0xFF);
}

QString FormatTenths(int tenths) {
    const int magnitude = std::abs(tenths);
    return QStringLiteral("%1%2%3%4")
        .arg(tenths < 0 ? QStringLiteral("-") : QString())
        .arg(magnitude / 10)
        .arg(DecimalSeparator())
        .arg(magnitude % 10);
}

QString FormatOneDecimal(double value) {
    // Half away from zero, as the "0.0" pattern rounds.
    const double tenths = std::round(value * 10.0);
    if (!std::isfinite(tenths) || std::fabs(tenths) > std::numeric_limits<int>::max())
        return QString();
    return FormatTenths(static_cast<int>(tenths));
}
