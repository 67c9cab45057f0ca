#ifndef CLIIMAGES_H
#define CLIIMAGES_H

#include "PasswordStoreCodec.h"
#include "Security.h"

#include <QCoreApplication>
#include <QList>
#include <QString>

// The two memory images that check, export and restore work on (from a backup file or a device),
// opened with the master password.
class CliImages
{
    Q_DECLARE_TR_FUNCTIONS(CliImages)

public:
    // What one image holds for a password.
    struct Opened
    {
        // 0 opened, 1 does not open, negative: decryption failed.
        int result = 1;
        bool isEmpty = false;
        Security::EncryptionSchemeId scheme = Security::ENCRYPTION_SCHEME_ID_0;
        QList<PasswordStoreCodec::Tab> tabs;

        ~Opened();
        int recordCount() const;
        // The tabs' plaintext goes; the rest stays.
        void wipe();
    };

    // Opens `image` (Security::MEMORY_SIZE bytes) with `password` into *opened.
    static void open(const QString& password, const unsigned char* image, Opened* opened);

    // Opens the main image, then the backup image when main does not open (or always, with
    // `isBothOpened`; equal images are decrypted once): 0 when one opens, 1 when neither does,
    // negative when decryption failed.
    static int openPair(const QString& password, const unsigned char* mainImage,
                        const unsigned char* backupImage, bool isBothOpened, Opened* main, Opened* backup);

    // "opens (scheme 2): 3 tabs, 41 records", "does not open", "empty".
    static QString describe(const Opened& opened);
    // "3 tabs, 41 records" of an image that opened.
    static QString describeContent(const Opened& opened);
};

#endif
