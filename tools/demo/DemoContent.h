#ifndef DEMOCONTENT_H
#define DEMOCONTENT_H

#include "PasswordStoreCodec.h"
#include "Security.h"

#include <QByteArray>
#include <QList>
#include <QString>

// Password stores and device memory images made with the application's own encoder and encryption:
// the demo device of first-time users, and the images of the open-device tests and benchmark.
namespace DemoContent
{
// A few tabs of everyday logins (mail, banking, shopping, work...), with fresh random passwords.
QList<PasswordStoreCodec::Tab> demoTabs();

// `tabCount` tabs named "Tab 1", "Tab 2"..., then generated records spread over them in turn until
// the store holds at least `storeBytes` bytes (none when `storeBytes` is 0), never more than fits.
QList<PasswordStoreCodec::Tab> generatedTabs(int tabCount, int storeBytes);

// A 131072-byte memory image holding the store of `tabs` encrypted under `scheme` with `password`,
// random after the store as a save leaves it. Empty when the store does not fit or encryption fails.
QByteArray encryptedImage(const QList<PasswordStoreCodec::Tab>& tabs, const QString& password,
                          Security::EncryptionSchemeId scheme);
} // namespace DemoContent

#endif
