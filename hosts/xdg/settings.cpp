// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
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

// One key open at a time is all the game asks for. An open key holds the lock
// of every settings write and a copy of the file, read afresh: QSettings caches
// a file by its name and re-reads it only when its size or its time in
// milliseconds changed, so the copy gets a name never used before. Closing puts
// the copy, with whatever was set, in place of the file in one rename.
struct OpenStore {
    std::unique_ptr<QSettings> settings;
    int lock = -1;
    QString copy;
    bool changed = false;
    bool kept = true;
};
OpenStore theStore;

// flock, because it goes with the process: a killed copy holds nothing.
int TakeLock(const QString& path) {
    QDir().mkpath(path.left(path.lastIndexOf(QLatin1Char('/'))));
    // The name is the one the first versions locked the best score under.
    const QByteArray lockPath = QFile::encodeName(path + QStringLiteral(".best-score-lock"));
    const int fd = open(lockPath.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd >= 0 && flock(fd, LOCK_EX) != 0) {
        close(fd);
        return -1;
    }
    // Every copy is made and put in place under the lock: any one still there
    // now is what a killed copy of the game left.
    const QFileInfo file(path);
    const QStringList stale = file.dir().entryList({file.fileName() + QStringLiteral(".tmp-*")}, QDir::Files | QDir::Hidden);
    for (const QString& name : stale) QFile::remove(file.dir().filePath(name));
    return fd;
}

QString FreshCopyName(const QString& path) {
    static unsigned count = 0;
    return path + QStringLiteral(".tmp-%1-%2").arg(getpid()).arg(++count);
}

// The file as it stands, under a new name; false when it is there but cannot be read.
bool CopyOf(const QString& path, const QString& copy) {
    if (!QFileInfo::exists(path)) return true;
    return QFileInfo(path).isFile() && QFile::copy(path, copy);
}

bool Flush(const QByteArray& path, int flags) {
    const int fd = open(path.constData(), flags | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = fsync(fd) == 0 || errno == EINVAL;
    return close(fd) == 0 && ok;
}

// The copy in place of the file, on disk before and after.
bool PutInPlace(const QString& copy, const QString& path) {
    if (!QFileInfo::exists(copy)) return true;  // nothing was ever written
    const QByteArray from = QFile::encodeName(copy);
    const QByteArray to = QFile::encodeName(path);
    const QByteArray folder = QFile::encodeName(path.left(path.lastIndexOf(QLatin1Char('/'))));
    return Flush(from, O_RDONLY) && std::rename(from.constData(), to.constData()) == 0 &&
           Flush(folder, O_RDONLY | O_DIRECTORY);
}

// The 1.0 file held lines such as "HighScore dword 1550"; a damaged one is left unread.
// True when it did.
bool CarryOverOldBestScore(QSettings& settings) {
    QFile old(OldBestScorePath());
    if (settings.childGroups().contains(kGroup) || !old.open(QIODevice::ReadOnly)) return false;
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
    return true;
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

bool UpdateSettings(const std::function<void(QSettings&)>& change) {
    const QString path = SettingsPath();
    if (path.isEmpty() || theStore.settings) return false;
    const int lock = TakeLock(path);
    if (lock < 0) return false;
    const QString copy = FreshCopyName(path);
    bool ok = CopyOf(path, copy);
    if (ok) {
        QSettings settings(copy, QSettings::IniFormat);
        change(settings);
        settings.sync();
        ok = settings.status() == QSettings::NoError;
    }
    ok = ok && PutInPlace(copy, path);
    if (!ok) QFile::remove(copy);
    close(lock);
    return ok;
}

int I_StoreOpenKey(int create, StoreKey* key) {
    const QString path = SettingsPath();
    if (key == nullptr || path.isEmpty() || theStore.settings || theStore.lock >= 0) return 0;
    theStore.lock = TakeLock(path);
    theStore.copy = FreshCopyName(path);
    theStore.changed = false;
    theStore.kept = true;
    if (theStore.lock < 0 || !CopyOf(path, theStore.copy)) {
        I_StoreCloseKey(kTheKey);
        return 0;
    }
    theStore.settings = std::make_unique<QSettings>(theStore.copy, QSettings::IniFormat);
    // Carried over once: kept when the key closes.
    theStore.changed = CarryOverOldBestScore(*theStore.settings);
    if (!create && !theStore.settings->childGroups().contains(kGroup)) {
        I_StoreCloseKey(kTheKey);
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
    theStore.changed = true;
    // Written to the copy at once; the file itself takes it at closing.
    theStore.settings->sync();
    const bool ok = theStore.settings->status() == QSettings::NoError;
    theStore.kept = theStore.kept && ok;
    return ok ? 1 : 0;
}

int I_StoreCloseKey(StoreKey key) {
    if (key != kTheKey) return 0;
    bool kept = theStore.kept;
    if (theStore.settings) {
        theStore.settings->sync();
        kept = kept && theStore.settings->status() == QSettings::NoError;
        theStore.settings.reset();
    }
    kept = kept && (!theStore.changed || PutInPlace(theStore.copy, SettingsPath()));
    QFile::remove(theStore.copy);  // when it was not put in place
    if (theStore.lock >= 0) close(theStore.lock);  // and with it the lock
    theStore.lock = -1;
    return kept ? 1 : 0;
}
