// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QSettings>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <memory>

#include "ports.h"

namespace {

QString ConfigFolder() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && config[0] == '/') return QString::fromLocal8Bit(config) + QStringLiteral("/grimspire");
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] != '\0') return QString::fromLocal8Bit(home) + QStringLiteral("/.config/grimspire");
    return {};
}

const char* const kTypeNames[] = {"none", "sz", "expand_sz", "binary", "dword"};
constexpr uint32_t kTypeCount = 5;
const QString kGroup = QStringLiteral("BestScore");
constexpr StoreKey kTheKey = 1;

QString Encode(uint32_t type, const QByteArray& bytes) {
    const QString name = QString::fromLatin1(kTypeNames[type]);
    if (type == REG_DWORD && bytes.size() == 4) {
        uint32_t n;
        std::memcpy(&n, bytes.constData(), 4);
        return name + QLatin1Char(':') + QString::number(n);
    }
    return name + QStringLiteral(":hex:") + QString::fromLatin1(bytes.toHex());
}

// False for anything Encode does not write.
bool Decode(const QString& text, uint32_t* type, QByteArray* bytes) {
    const qsizetype colon = text.indexOf(QLatin1Char(':'));
    const QString name = text.left(colon);
    const QString rest = text.mid(colon + 1);
    for (uint32_t t = 0; t < kTypeCount; ++t) {
        if (colon < 0 || name != QLatin1String(kTypeNames[t])) continue;
        *type = t;
        if (rest.startsWith(QStringLiteral("hex:"))) {
            const QByteArray hex = rest.mid(4).toLatin1();
            *bytes = QByteArray::fromHex(hex);
            return hex.size() % 2 == 0 && bytes->toHex() == hex.toLower();
        }
        bool ok = false;
        const uint32_t n = rest.toUInt(&ok);
        if (t != REG_DWORD || !ok || rest != QString::number(n)) return false;
        *bytes = QByteArray(reinterpret_cast<const char*>(&n), 4);
        return true;
    }
    return false;
}

// One key open at a time is all the game asks for. Writing holds a lock of our own
// from open to close, so a best score read and replaced is never another copy's;
// flock, because it goes with the process and a killed copy leaves nothing behind.
struct OpenStore {
    std::unique_ptr<QSettings> settings;
    int lock = -1;
};
OpenStore theStore;

// The 1.0 file held lines such as "HighScore dword 1550"; a damaged one is left unread.
void CarryOverOldBestScore(QSettings& settings) {
    QFile old(OldBestScorePath());
    if (settings.childGroups().contains(kGroup) || !old.open(QIODevice::ReadOnly)) return;
    settings.beginGroup(kGroup);
    while (!old.atEnd()) {
        const QList<QByteArray> words = old.readLine(4096).simplified().split(' ');
        uint32_t type;
        QByteArray bytes;
        if (words.size() != 3 || words[0].startsWith('#')) continue;
        const QString value = QString::fromLatin1(words[1] + ':' + words[2]);
        if (Decode(value, &type, &bytes)) settings.setValue(QString::fromLatin1(words[0]), value);
    }
    settings.endGroup();
    settings.sync();
}

}  // namespace

QString SettingsPath() {
    const QString folder = ConfigFolder();
    return folder.isEmpty() ? folder : folder + QStringLiteral("/grimspire.conf");
}

QString OldBestScorePath() {
    const QString folder = ConfigFolder();
    return folder.isEmpty() ? folder : folder + QStringLiteral("/highscore.conf");
}

int I_StoreOpenKey(int create, StoreKey* key) {
    const QString path = SettingsPath();
    if (key == nullptr || path.isEmpty() || theStore.settings || theStore.lock >= 0) return 0;
    if (create) {
        const QByteArray lockPath = QFile::encodeName(path + QStringLiteral(".best-score-lock"));
        QDir().mkpath(path.left(path.lastIndexOf(QLatin1Char('/'))));
        theStore.lock = open(lockPath.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (theStore.lock < 0 || flock(theStore.lock, LOCK_EX) != 0) {
            I_StoreCloseKey(kTheKey);
            return 0;
        }
    }
    theStore.settings = std::make_unique<QSettings>(path, QSettings::IniFormat);
    CarryOverOldBestScore(*theStore.settings);
    if (!create && !theStore.settings->childGroups().contains(kGroup)) {
        theStore.settings.reset();
        return 0;
    }
    theStore.settings->beginGroup(kGroup);
    *key = kTheKey;
    return 1;
}

int I_StoreQueryValue(StoreKey key, const char* name, uint32_t* type, uint8_t* data, uint32_t* size) {
    if (key != kTheKey || !theStore.settings || name == nullptr || size == nullptr) return 0;
    const QVariant value = theStore.settings->value(QString::fromUtf8(name));
    uint32_t found;
    QByteArray bytes;
    if (value.typeId() != QMetaType::QString || !Decode(value.toString(), &found, &bytes)) return 0;
    if (type != nullptr) *type = found;
    const auto needed = static_cast<uint32_t>(bytes.size());
    if (data != nullptr) {
        if (*size < needed) {
            *size = needed;
            return 0;
        }
        std::memcpy(data, bytes.constData(), needed);
    }
    *size = needed;
    return 1;
}

int I_StoreSetValue(StoreKey key, const char* name, uint32_t type, const uint8_t* data, uint32_t size) {
    if (key != kTheKey || !theStore.settings || name == nullptr || type >= kTypeCount) return 0;
    if (data == nullptr && size > 0) return 0;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    theStore.settings->setValue(QString::fromUtf8(name), Encode(type, bytes));
    theStore.settings->sync();
    return theStore.settings->status() == QSettings::NoError ? 1 : 0;
}

void I_StoreCloseKey(StoreKey key) {
    if (key != kTheKey) return;
    theStore.settings.reset();
    if (theStore.lock >= 0) close(theStore.lock);  // and with it the lock
    theStore.lock = -1;
}
