#include "DemoContent.h"

#include "Wipe.h"

#include <QRandomGenerator>

namespace
{
PasswordRecord record(const QString& name, const QString& login, const QString& url,
                      const QString& note = QString())
{
    PasswordRecord password;
    password.data[PasswordRecord::FIELD_NAME] = name;
    password.data[PasswordRecord::FIELD_LOGIN] = login;
    password.data[PasswordRecord::FIELD_PASSWORD] =
        Security::generateRandomPassword(16, 24, true, true, true, true);
    password.data[PasswordRecord::FIELD_URL] = url;
    password.data[PasswordRecord::FIELD_NOTE] = note;
    return password;
}

// The bytes a tab or a record takes in the store (each text, then its terminator).
int storeSize(const QString& text)
{
    return static_cast<int>(text.toUtf8().size()) + 1;
}
} // namespace

namespace DemoContent
{
QList<PasswordStoreCodec::Tab> demoTabs()
{
    const QString mail = QStringLiteral("alice.martin@example.com");
    return {
        {QStringLiteral("Personal"),
         {record(QStringLiteral("Cloud storage"), mail, QStringLiteral("https://drive.example.com")),
          record(QStringLiteral("Mail"), mail, QStringLiteral("https://mail.example.com"),
                 QStringLiteral("Recovery phone: the old number")),
          record(QStringLiteral("Music streaming"), mail, QStringLiteral("https://music.example.com")),
          record(QStringLiteral("Phone provider"), QStringLiteral("0612345678"),
                 QStringLiteral("https://mobile.example.net")),
          record(QStringLiteral("Photo sharing"), QStringLiteral("alice_m"),
                 QStringLiteral("photos.example.org")),
          record(QStringLiteral("Video streaming"), mail, QStringLiteral("https://video.example.com"),
                 QStringLiteral("Family plan, 4 screens")),
          record(QStringLiteral("Wi-Fi at home"), QStringLiteral("Martin-Home-5G"), QString(),
                 QStringLiteral("Router in the hall cupboard"))}},
        {QStringLiteral("Banking"),
         {record(QStringLiteral("Bank"), QStringLiteral("40012345"),
                 QStringLiteral("https://bank.example.com"), QStringLiteral("Card PIN is not stored here")),
          record(QStringLiteral("Insurance"), QStringLiteral("alice.martin"),
                 QStringLiteral("https://insurance.example.fr")),
          record(QStringLiteral("Online payments"), mail, QStringLiteral("https://pay.example.com")),
          record(QStringLiteral("Savings account"), QStringLiteral("40012345-2"),
                 QStringLiteral("https://savings.example.com")),
          record(QStringLiteral("Tax office"), QStringLiteral("1 84 07 75 123 456"),
                 QStringLiteral("https://tax.example.gouv.fr"))}},
        {QStringLiteral("Shopping"),
         {record(QStringLiteral("Bookshop"), mail, QStringLiteral("https://books.example.com")),
          record(QStringLiteral("Electronics"), mail, QStringLiteral("https://electronics.example.com")),
          record(QStringLiteral("Groceries"), mail, QStringLiteral("https://groceries.example.fr"),
                 QStringLiteral("Delivery on Saturdays")),
          record(QStringLiteral("Marketplace"), QStringLiteral("alice_m"),
                 QStringLiteral("https://market.example.com")),
          record(QStringLiteral("Train tickets"), mail, QStringLiteral("https://rail.example.eu"),
                 QStringLiteral("Discount card number 2901 4455"))}},
        {QStringLiteral("Social"),
         {record(QStringLiteral("Chat"), QStringLiteral("+33612345678"),
                 QStringLiteral("https://chat.example.com")),
          record(QStringLiteral("Forum"), QStringLiteral("amartin"),
                 QStringLiteral("https://forum.example.org")),
          record(QStringLiteral("Microblog"), QStringLiteral("@alice_m"),
                 QStringLiteral("https://micro.example.social")),
          record(QStringLiteral("Professional network"), mail,
                 QStringLiteral("https://network.example.com"))}},
        {QStringLiteral("Work"),
         {record(QStringLiteral("Code hosting"), QStringLiteral("amartin-acme"),
                 QStringLiteral("https://code.example.com"), QStringLiteral("Two-factor codes on the phone")),
          record(QStringLiteral("Intranet"), QStringLiteral("amartin"),
                 QStringLiteral("https://intranet.acme.example")),
          record(QStringLiteral("Timesheets"), QStringLiteral("amartin"),
                 QStringLiteral("https://time.acme.example")),
          record(QStringLiteral("VPN"), QStringLiteral("amartin"), QStringLiteral("vpn.acme.example"),
                 QStringLiteral("Renew the certificate every year in March")),
          record(QStringLiteral("Work mail"), QStringLiteral("alice.martin@acme.example"),
                 QStringLiteral("https://mail.acme.example"))}},
    };
}

QList<PasswordStoreCodec::Tab> generatedTabs(int tabCount, int storeBytes)
{
    QList<PasswordStoreCodec::Tab> tabs;
    int size = 1;
    for (int tabIndex = 0; tabIndex < tabCount; tabIndex++)
    {
        tabs.append({QStringLiteral("Tab %1").arg(tabIndex + 1), {}});
        size += storeSize(tabs.last().name);
    }
    for (int recordIndex = 1; tabCount > 0 && size < storeBytes; recordIndex++)
    {
        const PasswordRecord password = record(QStringLiteral("Site %1").arg(recordIndex),
                                               QStringLiteral("user%1@example.com").arg(recordIndex),
                                               QStringLiteral("https://site%1.example.com").arg(recordIndex));
        int recordSize = 0;
        for (const QString& text : password.data)
            recordSize += storeSize(text);
        if (size + recordSize > PasswordStoreCodec::STORE_CAPACITY)
            break;
        tabs[recordIndex % tabCount].passwords.append(password);
        size += recordSize;
    }
    return tabs;
}

QByteArray encryptedImage(const QList<PasswordStoreCodec::Tab>& tabs, const QString& password,
                          Security::EncryptionSchemeId scheme)
{
    QByteArray image(PasswordStoreCodec::MEMORY_SIZE, Qt::Uninitialized);
    auto* bytes = reinterpret_cast<unsigned char*>(image.data());
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32*>(image.data()), image.size() / 4);
    if (PasswordStoreCodec::encode(tabs, bytes) < 0 ||
        Security::encryptMemoryData(password, scheme, bytes) != 0)
    {
        // Whatever is left holds plaintext.
        wipeMemory(bytes, image.size());
        return QByteArray();
    }
    return image;
}
} // namespace DemoContent
