// SPDX-License-Identifier: GPL-3.0-or-later
// The player's settings and the best score, in one INI file that the Linux
// front-ends share: $XDG_CONFIG_HOME/grimspire/grimspire.conf, else
// ~/.config/grimspire/grimspire.conf. QSettings reads and writes it; the best
// score lives in its [BestScore] group behind the game's I_Store* ports, each
// value with its type ("dword:1550", "sz:hex:4a4f484e00").
#pragma once

#include <QSettings>
#include <QString>

#include <functional>

// "" when neither XDG_CONFIG_HOME nor HOME gives a place.
QString SettingsPath();
// The version 1.0 best-score file beside it, read once when the settings have no best score yet.
QString OldBestScorePath();
// Every write of the file goes through here, under the lock the best score is
// kept under, on a fresh copy of the file that then replaces it: no copy of
// the game writes back what it read before another copy wrote. False when the
// file could not be written.
bool UpdateSettings(const std::function<void(QSettings&)>& change);
