#include "backends/qt/qt_settings_store.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>
#include <iostream>

#include "core/sjis.h"

namespace veskar {

namespace {

QString fromCp932(std::string_view bytes) { return QString::fromStdString(cp932ToUtf8(bytes)); }

// The key path comes from game data: it may only name folders below ours.
QStringList safeComponents(std::string_view keyPath) {
    QString text = fromCp932(keyPath);
    text.replace(QChar('\\'), QChar('/'));
    text.remove(QChar(u'\0'));
    QStringList parts;
    for (const QString& part : text.split(QChar('/'), Qt::SkipEmptyParts))
        if (part != "." && part != "..") parts << part;
    return parts;
}

QString safeFileStem(std::string_view section) {
    QString stem = fromCp932(section);
    stem.replace(QChar('\\'), QChar('_')).replace(QChar('/'), QChar('_'));
    stem.remove(QChar(u'\0'));
    if (stem.isEmpty() || stem == "." || stem == "..") stem = "default";
    return stem;
}

} // namespace

QtSettingsStore::QtSettingsStore(std::optional<std::filesystem::path> iniRoot)
    : iniRoot_(std::move(iniRoot)) {}

QtSettingsStore::~QtSettingsStore() = default;

QString QtSettingsStore::location(std::string_view keyPath, std::string_view section) const {
#ifdef Q_OS_WIN
    QString key = "HKEY_CURRENT_USER";
    for (const QString& part : safeComponents(keyPath))
        key += '\\' + part;
    if (!section.empty()) key += '\\' + fromCp932(section);
    return key;
#else
    const QString root = iniRoot_ ? QString::fromStdString(iniRoot_->string())
                                  : QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    QStringList parts{root, "veskar"};
    parts << safeComponents(keyPath);
    parts << safeFileStem(section) + ".ini";
    return parts.join(QChar('/'));
#endif
}

QSettings& QtSettingsStore::open(std::string_view keyPath, std::string_view section) {
    auto& slot = open_[{std::string(keyPath), std::string(section)}];
    if (!slot) {
#ifdef Q_OS_WIN
        slot = std::make_unique<QSettings>(location(keyPath, section), QSettings::NativeFormat);
#else
        slot = std::make_unique<QSettings>(location(keyPath, section), QSettings::IniFormat);
#endif
    }
    return *slot;
}

std::optional<std::string> QtSettingsStore::read(std::string_view keyPath, std::string_view section,
                                                 std::string_view name) {
    QSettings& settings = open(keyPath, section);
    const QString key = fromCp932(name);
    if (!settings.contains(key)) return std::nullopt;
    const QVariant value = settings.value(key);
    // A hand-edited INI line "a, b" reads as a list; the engine wants the text.
    const QString text =
        value.typeId() == QMetaType::QStringList ? value.toStringList().join(", ") : value.toString();
    auto bytes = utf8ToCp932(text.toStdString());
    if (!bytes) return std::nullopt; // not representable: the default applies
    return *bytes;
}

void QtSettingsStore::write(std::string_view keyPath, std::string_view section, std::string_view name,
                            std::string_view value) {
    QSettings& settings = open(keyPath, section);
    settings.setValue(fromCp932(name), fromCp932(value));
    settings.sync();
    if (settings.status() != QSettings::NoError)
        std::cerr << "veskar: settings not saved to " << settings.fileName().toStdString() << '\n';
}

} // namespace veskar
