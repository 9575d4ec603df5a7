#include "app/readability.h"

#include <cmath>

namespace {

double Linear(double channel) {
    return channel <= 0.03928 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

double Luminance(const QColor& c) {
    return 0.2126 * Linear(c.redF()) + 0.7152 * Linear(c.greenF()) + 0.0722 * Linear(c.blueF());
}

QColor Mix(const QColor& from, const QColor& to, double share) {
    auto channel = [share](int a, int b) { return int(std::lround(a + (b - a) * share)); };
    return QColor(channel(from.red(), to.red()), channel(from.green(), to.green()),
                  channel(from.blue(), to.blue()));
}

}  // namespace

double ContrastRatio(const QColor& a, const QColor& b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QPalette WithReadableDisabledText(QPalette palette, double minimumRatio) {
    const struct {
        QPalette::ColorRole text, background;
    } pairs[] = {
        {QPalette::Text, QPalette::Base},
        {QPalette::WindowText, QPalette::Window},
        {QPalette::ButtonText, QPalette::Button},
    };
    constexpr int kSteps = 50;
    for (const auto& pair : pairs) {
        const QColor disabled = palette.color(QPalette::Disabled, pair.text);
        const QColor active = palette.color(QPalette::Active, pair.text);
        const QColor background = palette.color(QPalette::Disabled, pair.background);
        QColor chosen = active;
        for (int step = 0; step <= kSteps; ++step) {
            const QColor candidate = Mix(disabled, active, double(step) / kSteps);
            if (ContrastRatio(candidate, background) >= minimumRatio) {
                chosen = candidate;
                break;
            }
        }
        palette.setColor(QPalette::Disabled, pair.text, chosen);
    }
    return palette;
}
