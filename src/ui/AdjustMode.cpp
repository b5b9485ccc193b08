#include "ui/AdjustMode.h"

namespace zarn {

namespace {
const AdjustMode::Row Rows[] = {
    {AdjustMode::RadarScale, "BMWpanel105", "BMWpanel105", "mKnob1"}, // radar map "Scale"
    {AdjustMode::Speed, "BMWpanel124", "BMWpanel124", nullptr},       // playback speed
    {AdjustMode::Zoom, "BMWpanel48", "BMWpanel48", nullptr},          // movie "Zoom"
    {AdjustMode::Eq1, "BMWpanel129", "Label4", nullptr},              // "80"
    {AdjustMode::Eq2, "BMWpanel130", "Label7", nullptr},              // "600"
    {AdjustMode::Eq3, "BMWpanel131", "Label62", nullptr},             // "1000"
    {AdjustMode::Eq4, "BMWpanel134", "Label63", nullptr},             // "2000"
    {AdjustMode::Eq5, "BMWpanel133", "Label64", nullptr},             // "4000"
    {AdjustMode::Reverb, "BMWpanel135", "Label2", nullptr},           // "Reverb"
    {AdjustMode::Eq6, "BMWpanel132", "Label65", nullptr},             // "8000"
    {AdjustMode::Luminance, "BMWpanel51", "BMWpanel51", nullptr},     // movie "Luminance"
};
} // namespace

std::span<const AdjustMode::Row> AdjustMode::rows()
{
    return Rows;
}

const AdjustMode::Row* AdjustMode::rowFor(const QString& focusedName)
{
    for (const Row& r : Rows)
        if (focusedName == QLatin1String(r.name))
            return &r;
    return nullptr;
}

} // namespace zarn
