// Power-cut stress run of a save. A device holds a saved content; a new content is saved over it,
// and the power fails during one of the 1024 page writes (main memory pages 0 to 511, then backup
// memory pages 0 to 511). The device is plugged back in and opened the way the application opens
// it: both memories read, the main memory tried first and the backup memory when they differ and
// the main one does not open, schemes 2, 1 and 0 in turn, the store parsed. Every cut is tried;
// the run prints how many devices open with the old content, with the new one, and with neither
// (the goal is none).
//
//     build/bench/stress_power_cut [FIRST_CUT [LAST_CUT]]
//
// Not a benchmark and not run by CTest: it takes minutes, most of them deriving keys for the
// images that a cut left half-written (each is a new image that only decryption can judge).
#include "Device.h"
#include "PasswordStoreCodec.h"
#include "Security.h"
#include "SimulatorProcess.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>
#include <memory>

namespace
{
constexpr int CUT_COUNT = 2 * Device::MEMORY_PAGE_COUNT;
const QString PASSWORD = QStringLiteral(u"Coupure de courant \u26a1");

QList<PasswordStoreCodec::Tab> makeContent(const QString& label, int recordCount)
{
    QList<PasswordStoreCodec::Tab> tabs;
    for (int tabIndex = 0; tabIndex < 3; tabIndex++)
    {
        tabs.append({QStringLiteral("%1 tab %2").arg(label).arg(tabIndex), {}});
        for (int record = 0; record < recordCount; record++)
        {
            PasswordTable::Password password;
            for (QString& field : password.data)
                field = QStringLiteral("%1 record %2.%3").arg(label).arg(tabIndex).arg(record);
            tabs.last().passwords.append(password);
        }
    }
    return tabs;
}

QString flatten(const QList<PasswordStoreCodec::Tab>& tabs)
{
    QString text;
    for (const PasswordStoreCodec::Tab& tab : tabs)
    {
        text += tab.name + QLatin1Char('\n');
        for (const PasswordTable::Password& password : tab.passwords)
            text += QStringList(std::begin(password.data), std::end(password.data)).join(QLatin1Char('|')) +
                    QLatin1Char('\n');
    }
    return text;
}

// The image a save writes, prepared in the application's order: random bytes, the store at the
// start, encryption under the scheme saving writes.
QByteArray savedImage(const QList<PasswordStoreCodec::Tab>& tabs)
{
    QByteArray image(Device::MEMORY_SIZE, Qt::Uninitialized);
    auto* bytes = reinterpret_cast<unsigned char*>(image.data());
    for (int offset = 0; offset < Device::MEMORY_SIZE; offset += 4)
    {
        const quint32 value = QRandomGenerator::global()->generate();
        std::memcpy(bytes + offset, &value, sizeof(value));
    }
    if (PasswordStoreCodec::encode(tabs, bytes) < 0 ||
        Security::encryptMemoryData(PASSWORD, Security::ENCRYPTION_SCHEME_ID_WRITTEN, bytes) != 0)
        return QByteArray();
    return image;
}

// The write page's run: LED, main memory page by page, backup memory page by page, LED. Returns
// the number of pages written before the first failure (CUT_COUNT when none failed).
int writeBothMemories(Device& device, QByteArray image)
{
    if (device.setLedState(COMMUNICATION_PROTOCOL_LED_STATE_ACCESS) != 0)
        return 0;
    int written = 0;
    for (Device::MemoryId memory : {Device::MEMORY_ID_MAIN, Device::MEMORY_ID_BACKUP})
    {
        if (device.selectMemory(memory) != 0)
            return written;
        for (int page = 0; page < Device::MEMORY_PAGE_COUNT; page++, written++)
        {
            if (device.writeSelectedMemoryPage(page, image.data() + page * Device::MEMORY_PAGE_SIZE) != 0)
                return written;
        }
    }
    device.setLedState(COMMUNICATION_PROTOCOL_LED_STATE_IDLE);
    return written;
}

// Opens one memory image as the application does: schemes 2, 1, 0, each on a fresh copy. The
// parsed store, or an empty text when no scheme opens it. Decryption is a function of the image,
// so the images met again and again (the complete old and new ones) are decrypted once.
QString openImage(const unsigned char* image, QHash<QByteArray, QString>& known)
{
    const QByteArray digest = QCryptographicHash::hash(
        QByteArray::fromRawData(reinterpret_cast<const char*>(image), Device::MEMORY_SIZE),
        QCryptographicHash::Sha256);
    const auto found = known.constFind(digest);
    if (found != known.constEnd())
        return *found;

    std::unique_ptr<unsigned char[]> work(new unsigned char[Device::MEMORY_SIZE]);
    QString content;
    for (Security::EncryptionSchemeId scheme :
         {Security::ENCRYPTION_SCHEME_ID_2, Security::ENCRYPTION_SCHEME_ID_1,
          Security::ENCRYPTION_SCHEME_ID_0})
    {
        std::memcpy(work.get(), image, Device::MEMORY_SIZE);
        const int result = Security::decryptMemoryData(PASSWORD, scheme, work.get());
        if (result < 0)
            break;
        if (result == 0)
        {
            QList<PasswordStoreCodec::Tab> tabs;
            PasswordStoreCodec::parse(work.get(), &tabs);
            content = flatten(tabs);
            break;
        }
    }
    known.insert(digest, content);
    return content;
}

bool writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(content) == content.size();
}

int fail(const char* what, int cut)
{
    std::fprintf(stderr, "stress_power_cut: cut %d: %s\n", cut, what);
    return 1;
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const int firstCut = argc > 1 ? std::atoi(argv[1]) : 0;
    const int lastCut = argc > 2 ? std::atoi(argv[2]) : CUT_COUNT - 1;
    QTemporaryDir directory;
    const QString state = directory.filePath(QStringLiteral("state"));
    if (!directory.isValid() || !QDir().mkpath(state))
        return fail("no temporary folder", -1);

    const QList<PasswordStoreCodec::Tab> oldTabs = makeContent(QStringLiteral("Old"), 40);
    const QList<PasswordStoreCodec::Tab> newTabs = makeContent(QStringLiteral("New"), 50);
    const QByteArray oldImage = savedImage(oldTabs);
    const QByteArray newImage = savedImage(newTabs);
    if (oldImage.isEmpty() || newImage.isEmpty())
        return fail("the contents could not be encrypted", -1);
    const QString oldContent = flatten(oldTabs);
    const QString newContent = flatten(newTabs);

    QHash<QByteArray, QString> known;
    int openedOld = 0, openedNew = 0, openedNeither = 0, choiceAsked = 0;
    QElapsedTimer clock;
    clock.start();
    for (int cut = firstCut; cut <= lastCut && cut < CUT_COUNT; cut++)
    {
        // The device before the save: the old content in both memories.
        if (!writeFile(state + QStringLiteral("/main.bin"), oldImage) ||
            !writeFile(state + QStringLiteral("/backup.bin"), oldImage))
            return fail("the state folder cannot be written", cut);

        SimulatorProcess simulator(state);
        const bool isMainCut = cut < Device::MEMORY_PAGE_COUNT;
        if (!simulator.start(
                {isMainCut ? QStringLiteral("--power-cut-page") : QStringLiteral("--power-cut-backup-page"),
                 QString::number(cut % Device::MEMORY_PAGE_COUNT)}))
            return fail("the simulator did not start", cut);
        {
            Device device(simulator.portInfo());
            if (device.open() != 0)
                return fail("the device did not open before the save", cut);
            if (writeBothMemories(device, newImage) != cut)
                return fail("the power did not fail at that page", cut);
        }
        if (!simulator.waitForExit())
            return fail("the simulator outlived its power cut", cut);

        // Plugged back in and opened.
        if (!simulator.start())
            return fail("the simulator did not start again", cut);
        Device device(simulator.portInfo());
        if (device.open() != 0 || device.readWholeMemory(Device::MEMORY_ID_MAIN) != 0 ||
            device.readWholeMemory(Device::MEMORY_ID_BACKUP) != 0)
            return fail("the memories could not be read back", cut);
        const unsigned char* main = device.getMemoryBuffer(Device::MEMORY_ID_MAIN);
        const unsigned char* backup = device.getMemoryBuffer(Device::MEMORY_ID_BACKUP);
        QString content = openImage(main, known);
        if (std::memcmp(main, backup, Device::MEMORY_SIZE) != 0)
        {
            choiceAsked++;
            if (content.isEmpty())
                content = openImage(backup, known);
        }
        device.close();
        simulator.stop();

        if (content == oldContent)
            openedOld++;
        else if (content == newContent)
            openedNew++;
        else
        {
            openedNeither++;
            std::fprintf(stderr, "stress_power_cut: cut %d: the device opens with neither content\n", cut);
        }
        if ((cut + 1) % 64 == 0)
            std::fprintf(stderr, "stress_power_cut: %d cuts done, %.0f s\n", cut + 1,
                         clock.elapsed() / 1000.0);
    }

    std::printf("power_cut_devices: %d devices\n", openedOld + openedNew + openedNeither);
    std::printf("power_cut_opened_with_old_content: %d devices\n", openedOld);
    std::printf("power_cut_opened_with_new_content: %d devices\n", openedNew);
    std::printf("power_cut_opened_with_neither: %d devices\n", openedNeither);
    std::printf("power_cut_memory_choice_asked: %d devices\n", choiceAsked);
    std::printf("power_cut_run_time: %.1f s\n", clock.elapsed() / 1000.0);
    return openedNeither == 0 ? 0 : 2;
}
