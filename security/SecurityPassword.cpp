// Random password generation for records and the strength rating shown under master passwords.
#include "Security.h"

#include <QObject>
#include <QRandomGenerator>

#include <cmath>

namespace
{
enum CharacterClass
{
    CHARACTER_CLASS_LOWERCASE,
    CHARACTER_CLASS_UPPERCASE,
    CHARACTER_CLASS_DIGIT,
    CHARACTER_CLASS_SYMBOL,
    CHARACTER_CLASSES_COUNT
};

// Pool sizes the rating assumes for each class; symbols count as the 28 generated ones.
constexpr int CLASS_POOL_SIZES[CHARACTER_CLASSES_COUNT] = {26, 26, 10, 28};

// Generated characters are drawn from this table by index. The hyphen-minus is listed twice, so
// there are 90 entries but 27 distinct symbols; space and tab are left out because they are too
// easy to lose when a password is copied.
constexpr char GENERATION_ALPHABET[] = "0123456789"
                                       "abcdefghijklmnopqrstuvwxyz"
                                       "ABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                       "&\"#{}()[]-|-_\\@=+,?;.:/!*%<>";
constexpr quint32 GENERATION_ALPHABET_SIZE = sizeof(GENERATION_ALPHABET) - 1;
static_assert(GENERATION_ALPHABET_SIZE == 90, "the generation table has 90 entries");

CharacterClass characterClassOf(QChar character)
{
    const char16_t code = character.unicode();
    if (code >= u'a' && code <= u'z')
        return CHARACTER_CLASS_LOWERCASE;
    if (code >= u'A' && code <= u'Z')
        return CHARACTER_CLASS_UPPERCASE;
    if (code >= u'0' && code <= u'9')
        return CHARACTER_CLASS_DIGIT;
    return CHARACTER_CLASS_SYMBOL;
}
} // namespace

QString Security::generateRandomPassword(int minimumLength, int maximumLength, bool isLowercaseAllowed,
                                         bool isUppercaseAllowed, bool isDigitAllowed, bool isSymbolAllowed)
{
    const bool isClassAllowed[CHARACTER_CLASSES_COUNT] = {isLowercaseAllowed, isUppercaseAllowed,
                                                          isDigitAllowed, isSymbolAllowed};
    const int allowedClassesCount =
        isLowercaseAllowed + isUppercaseAllowed + isDigitAllowed + isSymbolAllowed;
    // Such a request could never be satisfied and would retry forever.
    if (allowedClassesCount == 0 || minimumLength < allowedClassesCount || minimumLength > maximumLength)
        return QString();

    QRandomGenerator generator = QRandomGenerator::securelySeeded();

    const quint32 lengthsCount = static_cast<quint32>(maximumLength - minimumLength) + 1;
    const int length = minimumLength + static_cast<int>(generator.generate() % lengthsCount);

    QString password;
    password.reserve(length);
    for (;;)
    {
        bool isClassSeen[CHARACTER_CLASSES_COUNT] = {};
        while (password.size() < length)
        {
            const QChar character =
                QLatin1Char(GENERATION_ALPHABET[generator.generate() % GENERATION_ALPHABET_SIZE]);
            const CharacterClass characterClass = characterClassOf(character);
            if (!isClassAllowed[characterClass])
                continue;
            isClassSeen[characterClass] = true;
            password.append(character);
        }

        bool isAccepted = true;
        for (int i = 0; i < CHARACTER_CLASSES_COUNT; i++)
            isAccepted = isAccepted && isClassAllowed[i] == isClassSeen[i];
        if (isAccepted)
        {
            // The generator's state could rebuild the password: do not leave it behind.
            generator.seed();
            return password;
        }

        // A rejected attempt is still a secret-looking text: clear it before the next try.
        password.fill(QLatin1Char('\0'));
        password.resize(0);
    }
}

int Security::computePasswordStrength(QString password, QString* pointerStrengthText)
{
    bool isClassPresent[CHARACTER_CLASSES_COUNT] = {};
    for (const QChar character : std::as_const(password))
        isClassPresent[characterClassOf(character)] = true;

    int poolSize = 0;
    for (int i = 0; i < CHARACTER_CLASSES_COUNT; i++)
        if (isClassPresent[i])
            poolSize += CLASS_POOL_SIZES[i];

    int bits = 0;
    if (poolSize > 0)
    {
        const double entropy = password.size() * (std::log(static_cast<double>(poolSize)) / std::log(2.0));
        // Absurdly long texts would overflow the conversion; they are excellent anyway.
        bits = entropy >= 1e9 ? 1000000000 : static_cast<int>(entropy);
    }

    int rating;
    QString strengthText;
    if (bits <= 40)
    {
        rating = 0;
        strengthText = QObject::tr("very weak");
    }
    else if (bits <= 60)
    {
        rating = 1;
        strengthText = QObject::tr("weak");
    }
    else if (bits <= 70)
    {
        rating = 2;
        strengthText = QObject::tr("average");
    }
    else if (bits <= 90)
    {
        rating = 3;
        strengthText = QObject::tr("good");
    }
    else
    {
        rating = 4;
        strengthText = QObject::tr("excellent");
    }

    if (pointerStrengthText != nullptr)
        *pointerStrengthText = strengthText;
    return rating;
}
