#include "Configuration.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QtGlobal>

QSettings* Configuration::pointerSettings = nullptr;
QLocale::Language Configuration::_systemLanguageId = QLocale::English;
QString Configuration::_systemLanguageString = QStringLiteral("en");

namespace
{
// Organization name of the native settings store: the product web site's domain.
const char* const SETTINGS_ORGANIZATION_DOMAIN = "pavisor.com";
const char* const SETTINGS_APPLICATION_NAME = "Pavisor Key Manager";
const char* const WEBSITE_BASE_URL = "https://www.pavisor.com";
const char* const WEBSITE_URL_ENVIRONMENT_VARIABLE = "PAVISOR_WEBSITE_URL";
} // namespace

QUrl Configuration::getWebsiteUrl(const QString& path)
{
    QUrl url(QString::fromLatin1(WEBSITE_BASE_URL));
    const QUrl replacement(qEnvironmentVariable(WEBSITE_URL_ENVIRONMENT_VARIABLE));
    if (replacement.isValid() && !replacement.host().isEmpty())
    {
        url.setScheme(replacement.scheme());
        url.setHost(replacement.host());
        url.setPort(replacement.port());
    }
    url.setPath(path);
    return url;
}

int Configuration::getNumber(const NumberSetting& setting)
{
    bool isNumber = false;
    const int value = pointerSettings == nullptr ? 0 : pointerSettings->value(setting.key).toInt(&isNumber);
    return isNumber ? qBound(setting.minimum, value, setting.maximum) : setting.defaultValue;
}

bool Configuration::isClipboardAutoClearingEnabled()
{
    return pointerSettings == nullptr ||
           pointerSettings->value(SETTINGS_KEY_IS_CLIPBOARD_AUTO_CLEARING_ENABLED, true).toBool();
}

bool Configuration::isAutomaticBackupEnabled()
{
    return pointerSettings == nullptr ||
           pointerSettings->value(SETTINGS_KEY_IS_AUTOMATIC_BACKUP_ENABLED, true).toBool();
}

QString Configuration::getDataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

bool Configuration::isBundled()
{
    return QCoreApplication::applicationDirPath().endsWith(QLatin1String("/MacOS"));
}

QString Configuration::getBundleResourcesPath()
{
    QString path = QCoreApplication::applicationDirPath();
    if (!isBundled())
        return QDir::cleanPath(path + QStringLiteral("/") + QStringLiteral(PAVISOR_INSTALLED_RESOURCES_DIR)) +
               QStringLiteral("/");
    // The executable lives in ".../Contents/MacOS": cut "/MacOS" and look in the sibling folder.
    path.chop(6);
    return path + QStringLiteral("/") + QStringLiteral("Resources/");
}

QString Configuration::getHelpViewerPath()
{
    if (!isBundled())
        return getBundleResourcesPath() + QStringLiteral("Help_Viewer");
    return getBundleResourcesPath() + QStringLiteral("Help_Viewer.app/Contents/MacOS/") +
           QStringLiteral("Help_Viewer");
}

void Configuration::initialize()
{
    _systemLanguageId = QLocale::system().language();
    _systemLanguageString =
        (_systemLanguageId == QLocale::French) ? QStringLiteral("fr") : QStringLiteral("en");

    const QString iniPath = getBundleResourcesPath() + QStringLiteral("Configuration.ini");
    if (QFileInfo::exists(iniPath))
        pointerSettings = new QSettings(iniPath, QSettings::IniFormat);
    else
    {
        QCoreApplication::setOrganizationName(QString::fromLatin1(SETTINGS_ORGANIZATION_DOMAIN));
        QCoreApplication::setApplicationName(QString::fromLatin1(SETTINGS_APPLICATION_NAME));
        pointerSettings = new QSettings();
    }
}

void Configuration::uninitialize()
{
    delete pointerSettings;
    pointerSettings = nullptr;
}

QLocale::Language Configuration::getSystemLanguageId()
{
    return _systemLanguageId;
}

QString Configuration::getSystemLanguageString()
{
    return _systemLanguageString;
}
