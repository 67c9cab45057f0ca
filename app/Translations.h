#ifndef TRANSLATIONS_H
#define TRANSLATIONS_H

class QTranslator;

// Loads and installs the Qt library catalogue and the application catalogue for the system
// language. A catalogue that does not load is simply not installed: the texts stay in English.
class Translations
{
public:
    static void install(QTranslator& qtTranslator, QTranslator& applicationTranslator);
};

#endif
