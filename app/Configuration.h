#ifndef CONFIGURATION_H
#define CONFIGURATION_H

#include <QLocale>
#include <QSettings>
#include <QString>

// The process-wide settings object and the system language, computed once at start-up.
class Configuration
{
public:
    static QSettings* pointerSettings;

    // Chooses the settings store ("Configuration.ini" in the bundle's "Resources" folder when it
    // exists, the native per-user store otherwise) and records the system language.
    static void initialize();
    // Deletes the settings object, which writes any pending change.
    static void uninitialize();

    static QLocale::Language getSystemLanguageId();
    // "fr" on a French system, "en" on every other.
    static QString getSystemLanguageString();

    // The bundle's "Resources" folder, derived from the executable's "Contents/MacOS" folder.
    static QString getBundleResourcesPath();

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
