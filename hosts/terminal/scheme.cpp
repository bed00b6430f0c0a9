// SPDX-License-Identifier: GPL-3.0-or-later
#include "scheme.h"

#include <QSettings>

#include "picture.h"
#include "settings.h"

namespace {
const QString kSchemeKey = QStringLiteral("View/scheme");
}  // namespace

uint32_t LoadScheme() {
    const QString path = SettingsPath();
    if (path.isEmpty()) return kGrayColour;
    const QString name = QSettings(path, QSettings::IniFormat).value(kSchemeKey).toString();
    if (name == QLatin1String("green")) return kGreenColour;
    if (name == QLatin1String("amber")) return kAmberColour;
    return kGrayColour;
}

void SaveScheme(uint32_t colour) {
    UpdateSettings([colour](QSettings& settings) {
        settings.setValue(kSchemeKey, colour == kGreenColour   ? QStringLiteral("green")
                                      : colour == kAmberColour ? QStringLiteral("amber")
                                                               : QStringLiteral("gray"));
    });
}
