#ifndef CONFIGURATION_H
#define CONFIGURATION_H

#include <QLocale>
#include <QSettings>
#include <QString>
#include <QUrl>

// The process-wide settings object and the system language, computed once at start-up.
class Configuration
{
public:
    static QSettings* pointerSettings;

    // The settings keys, exactly as stored.
    static constexpr const char* SETTINGS_KEY_IS_FIRST_RUN = "IsFirstRun";
    static constexpr const char* SETTINGS_KEY_IS_NEW_APPLICATION_VERSION_CHECK_ENABLED =
        "IsNewApplicationVersionCheckEnabled";
    static constexpr const char* SETTINGS_KEY_IS_APPLICATION_AUTO_LOCKING_ENABLED =
        "IsApplicationAutoLockingEnabled";
    static constexpr const char* SETTINGS_KEY_IS_CLIPBOARD_AUTO_CLEARING_ENABLED =
        "IsClipboardAutoClearingEnabled";
    static constexpr const char* SETTINGS_KEY_IS_AUTOMATIC_BACKUP_ENABLED = "IsAutomaticBackupEnabled";

    // A number of the settings store: its key, its bounds, and what a missing or non-numeric value means.
    struct NumberSetting
    {
        const char* key;
        int minimum;
        int maximum;
        int defaultValue;
    };
    static constexpr NumberSetting APPLICATION_AUTO_LOCKING_DELAY_MINUTES = {
        "ApplicationAutoLockingDelayMinutes", 1, 1440, 5};
    static constexpr NumberSetting CLIPBOARD_AUTO_CLEARING_DELAY_SECONDS = {
        "ClipboardAutoClearingDelaySeconds", 1, 3600, 30};

    // Shown in the About box and compared with the version the update server announces.
    static constexpr const char* APPLICATION_VERSION = "2.1";

    // The page at `path` of the product web site. PAVISOR_WEBSITE_URL, when set, replaces the
    // site's scheme, host and port (tests serve the update file from 127.0.0.1).
    static QUrl getWebsiteUrl(const QString& path);

    // A number as the settings page shows it: a store edited by hand (key missing, not a number, out of
    // range) gives the default or the nearest bound, so that no stored delay can, say, lock the user out
    // within seconds.
    static int getNumber(const NumberSetting& setting);
    // Whether copied data leave the clipboard after a delay (by default they do).
    static bool isClipboardAutoClearingEnabled();
    // Whether every verified save also keeps a backup file of what it wrote (by default it does).
    static bool isAutomaticBackupEnabled();
    // The application's data folder; automatic backups go to its "backups" folder.
    static QString getDataFolder();

    // Chooses the settings store ("Configuration.ini" in the bundle's "Resources" folder when it
    // exists, the native per-user store otherwise) and records the system language.
    static void initialize();
    // Deletes the settings object, which writes any pending change.
    static void uninitialize();

    static QLocale::Language getSystemLanguageId();
    // "fr" on a French system, "en" on every other.
    static QString getSystemLanguageString();

    // Whether the executable runs from an application bundle (".../Contents/MacOS"); otherwise it is
    // installed in a Unix prefix (".../bin").
    static bool isBundled();
    // The folder of the help viewer and of the optional "Configuration.ini": the bundle's "Resources"
    // folder, derived from the executable's "Contents/MacOS" folder, or in an installed layout the
    // application's folder under "libexec" (the path from "bin" is set by the install rules).
    static QString getBundleResourcesPath();
    // The help viewer program in either layout.
    static QString getHelpViewerPath();

private:
    static QLocale::Language _systemLanguageId;
    static QString _systemLanguageString;

public:
    // Password generation choices of the password editor page, kept from one run to the next.
    static constexpr const char* SETTINGS_KEY_PASSWORD_GENERATION_MODE = "PasswordGenerationMode";
    static constexpr const char* SETTINGS_KEY_PASSWORD_GENERATION_CHARACTERS_COUNT =
        "PasswordGenerationCharactersCount";
    static constexpr const char* SETTINGS_KEY_PASSWORD_GENERATION_LOWERCASE_LETTERS =
        "IsPasswordGenerationLowercaseLettersEnabled";
    static constexpr const char* SETTINGS_KEY_PASSWORD_GENERATION_UPPERCASE_LETTERS =
        "IsPasswordGenerationUppercaseLettersEnabled";
    static constexpr const char* SETTINGS_KEY_PASSWORD_GENERATION_DIGITS =
        "IsPasswordGenerationDigitsEnabled";
    static constexpr const char* SETTINGS_KEY_PASSWORD_GENERATION_SYMBOLS =
        "IsPasswordGenerationSymbolsEnabled";
};

#endif
