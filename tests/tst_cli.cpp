// pavisor-cli run as a user runs it, against device simulators found through PAVISOR_SIMULATOR_DIR:
// a backup restored onto an erased device, checks and exports of files and devices, and what must
// never harm a device or leave a file behind (damaged files, unknown devices, wrong passwords, an
// unplug during a backup, a power cut or a failed verification during a restore).
#include "BackupFile.h"
#include "CSV.h"
#include "DemoContent.h"
#include "MemoryImage.h"
#include "Simulator.h"

#include <QBuffer>
#include <QtTest>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace
{
const QString PASSWORD = QStringLiteral("correct horse \u00e9t\u00e9");
const QString OTHER_PASSWORD = QStringLiteral("someone else's");
const QString SOURCE_SERIAL = QStringLiteral("QRTAV-000101");
const QString TARGET_SERIAL = QStringLiteral("QRTAV-000102");

struct Run
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// The tabs an image holds for `password`; false when it does not open.
bool openImage(const QByteArray& image, const QString& password, QList<PasswordStoreCodec::Tab>* tabs)
{
    tabs->clear();
    if (image.size() != MemoryImage::SIZE)
        return false;
    QByteArray work(MemoryImage::SIZE, '\0');
    if (MemoryImage::decrypt(password, reinterpret_cast<const unsigned char*>(image.constData()),
                             reinterpret_cast<unsigned char*>(work.data())) != 0)
        return false;
    PasswordStoreCodec::parse(reinterpret_cast<const unsigned char*>(work.constData()), tabs);
    return true;
}

bool holds(const QByteArray& image, const QString& password, const QList<PasswordStoreCodec::Tab>& expected)
{
    QList<PasswordStoreCodec::Tab> tabs;
    if (!openImage(image, password, &tabs) || tabs.size() != expected.size())
        return false;
    for (qsizetype index = 0; index < tabs.size(); index++)
    {
        if (tabs[index].name != expected[index].name || tabs[index].passwords != expected[index].passwords)
            return false;
    }
    return true;
}

QByteArray csvOf(const QList<PasswordRecord>& records)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QString errorText;
    CSV::writeRecords(&buffer, records, errorText);
    return buffer.data();
}

QByteArray erased()
{
    return QByteArray(MemoryImage::SIZE, char(0xFF));
}
} // namespace

class TestCli : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void backupCheckExportAndRestore();
    void badInputAndInterruptedRuns();

private:
    // Runs pavisor-cli with `input` on its standard input.
    Run cli(const QStringList& arguments, const QByteArray& input = {});
    QString path(const QString& name) const { return _files.filePath(name); }

    QTemporaryDir _descriptors;
    QTemporaryDir _files;
    QList<PasswordStoreCodec::Tab> _tabs;
    QList<PasswordStoreCodec::Tab> _oldTabs;
    QByteArray _image;
    QByteArray _oldImage;
};

void TestCli::initTestCase()
{
    QVERIFY(!Simulator::executablePath().isEmpty());
    QVERIFY(QFileInfo(QStringLiteral(PAVISOR_CLI)).isExecutable());
    qputenv("PAVISOR_SIMULATOR_DIR", QFile::encodeName(_descriptors.path()));
    _tabs = DemoContent::demoTabs();
    _oldTabs = DemoContent::generatedTabs(2, 3000);
    _image = DemoContent::encryptedImage(_tabs, PASSWORD, Security::ENCRYPTION_SCHEME_ID_2);
    // Written by an earlier version: the restore must overwrite whatever scheme was there.
    _oldImage = DemoContent::encryptedImage(_oldTabs, PASSWORD, Security::ENCRYPTION_SCHEME_ID_1);
    QCOMPARE(_image.size(), MemoryImage::SIZE);
    QCOMPARE(_oldImage.size(), MemoryImage::SIZE);
}

void TestCli::cleanupTestCase()
{
    qunsetenv("PAVISOR_SIMULATOR_DIR");
}

Run TestCli::cli(const QStringList& arguments, const QByteArray& input)
{
    QProcess process;
    process.start(QStringLiteral(PAVISOR_CLI), arguments);
    Run run;
    if (!process.waitForStarted())
        return run;
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(120000))
        process.kill();
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

void TestCli::backupCheckExportAndRestore()
{
    const QByteArray password = PASSWORD.toUtf8() + '\n';
    Simulator source;
    Simulator target;
    QVERIFY(source.writeMemories(_image));
    START_SIMULATOR(source, {"--serial", SOURCE_SERIAL, "--name", "Office key", "--versions", "258,772"});
    START_SIMULATOR(target, {"--serial", TARGET_SERIAL});

    Run run = cli({"list"});
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.out.contains("QRTAV-000101\tOffice key\t258\t772\n"), run.out);
    QVERIFY2(run.out.contains("QRTAV-000102\t"), run.out);

    // The backup holds both memories as read, and what describes the device.
    const QString file = path("office.pavisorbackup");
    run = cli({"backup", "--device", SOURCE_SERIAL, file});
    QVERIFY2(run.exitCode == 0, run.err);
    BackupFile::Content content;
    QString errorText;
    QVERIFY2(BackupFile::read(file, &content, errorText) == 0, qPrintable(errorText));
    QCOMPARE(content.mainImage, source.stateFile("main.bin"));
    QCOMPARE(content.backupImage, source.stateFile("backup.bin"));
    QCOMPARE(content.name, QStringLiteral("Office key"));
    QCOMPARE(content.serial, SOURCE_SERIAL);
    QCOMPARE(QList<int>(std::begin(content.versions), std::end(content.versions)), QList<int>({1, 2, 3, 4}));
    QVERIFY(qAbs(content.created.secsTo(QDateTime::currentDateTimeUtc())) < 120);
    QCOMPARE(QFile::permissions(file) & (QFile::ReadGroup | QFile::ReadOther), QFile::Permissions());

    int recordCount = 0;
    for (const PasswordStoreCodec::Tab& tab : _tabs)
        recordCount += int(tab.passwords.size());
    const QByteArray opening =
        QStringLiteral("opens (scheme 2): %1 tabs, %2 records\n").arg(_tabs.size()).arg(recordCount).toUtf8();
    for (const QStringList& origin : {QStringList{file}, QStringList{"--device", SOURCE_SERIAL}})
    {
        run = cli(QStringList{"check", "--password-stdin"} + origin, password);
        QVERIFY2(run.exitCode == 0, run.err);
        QVERIFY2(run.out.contains("Main memory: " + opening), run.out);
        QVERIFY2(run.out.contains("Backup memory: " + opening), run.out);
        QVERIFY2(run.out.contains("Main and backup memories: identical\n"), run.out);
        QVERIFY2(run.out.contains("'Office key' (QRTAV-000101)"), run.out);
        run = cli(QStringList{"check", "--password-stdin"} + origin, OTHER_PASSWORD.toUtf8() + '\n');
        QCOMPARE(run.exitCode, 3);
        QVERIFY2(run.out.contains("Main memory: does not open with this password\n"), run.out);
    }

    // One tab, in the application's own CSV format, to a file or to standard output.
    const PasswordStoreCodec::Tab& tab = _tabs.at(1);
    run = cli({"export", file, "--tab", tab.name, "--output", path("tab.csv"), "--password-stdin"}, password);
    QVERIFY2(run.exitCode == 0, run.err);
    QFile csv(path("tab.csv"));
    QVERIFY(csv.open(QIODevice::ReadOnly));
    QCOMPARE(csv.readAll(), csvOf(tab.passwords));
    run = cli({"export", "--device", SOURCE_SERIAL, "--tab", tab.name, "--output", "-", "--password-stdin"},
              password);
    QVERIFY2(run.exitCode == 0, run.err);
    QCOMPARE(run.out, csvOf(tab.passwords));
    run = cli({"export", file, "--tab", "No such tab", "--output", path("none.csv"), "--password-stdin"},
              password);
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains(tab.name.toUtf8()), run.err);
    QVERIFY(!QFile::exists(path("none.csv")));

    // Restoring onto an erased device: declined first, then confirmed.
    run = cli({"restore", "--device", TARGET_SERIAL, file, "--password-stdin"}, password + "n\n");
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(target.stateFile("main.bin"), erased());
    run = cli({"restore", "--device", TARGET_SERIAL, file, "--password-stdin"}, password + "yes\n");
    QVERIFY2(run.exitCode == 0, run.err);
    QCOMPARE(target.stateFile("main.bin"), _image);
    QCOMPARE(target.stateFile("backup.bin"), _image);
    QVERIFY(holds(target.stateFile("main.bin"), PASSWORD, _tabs));

    // A backup memory that does not open while main does is repaired before main is touched: a
    // power cut in the middle of main then leaves the old content in the backup memory.
    QVERIFY(target.stop());
    QVERIFY(target.writeMemories(
        _oldImage, DemoContent::encryptedImage(_oldTabs, OTHER_PASSWORD, Security::ENCRYPTION_SCHEME_ID_2)));
    START_SIMULATOR(target, {"--serial", TARGET_SERIAL, "--power-cut-page", "40"});
    run = cli({"restore", "--device", TARGET_SERIAL, file, "--password-stdin", "--yes"}, password);
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.contains("repaired from the main memory"), run.err);
    QVERIFY(target.waitForExit());
    QCOMPARE(target.stateFile("backup.bin"), _oldImage);
    QVERIFY(!holds(target.stateFile("main.bin"), PASSWORD, _tabs));
    // Plugged in again, the restore goes through: the backup memory opens.
    START_SIMULATOR(target, {"--serial", TARGET_SERIAL});
    run = cli({"restore", "--device", TARGET_SERIAL, file, "--password-stdin", "--yes"}, password);
    QVERIFY2(run.exitCode == 0, run.err);
    QVERIFY2(!run.err.contains("repaired"), run.err);
    QCOMPARE(target.stateFile("main.bin"), _image);
    QCOMPARE(target.stateFile("backup.bin"), _image);

    // Two differing images under a password never typed: either could be the last good copy.
    QVERIFY(target.stop());
    const QByteArray foreignMain =
        DemoContent::encryptedImage(_oldTabs, OTHER_PASSWORD, Security::ENCRYPTION_SCHEME_ID_2);
    const QByteArray foreignBackup =
        DemoContent::encryptedImage(_tabs, OTHER_PASSWORD, Security::ENCRYPTION_SCHEME_ID_2);
    QVERIFY(target.writeMemories(foreignMain, foreignBackup));
    START_SIMULATOR(target, {"--serial", TARGET_SERIAL});
    run = cli({"restore", "--device", TARGET_SERIAL, file, "--password-stdin", "--yes"}, password);
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.contains("nothing was written"), run.err);
    QCOMPARE(target.stateFile("main.bin"), foreignMain);
    QCOMPARE(target.stateFile("backup.bin"), foreignBackup);
    // ...and the check tells why.
    run = cli({"check", "--device", TARGET_SERIAL, "--password-stdin"}, OTHER_PASSWORD.toUtf8() + '\n');
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.out.contains("Main and backup memories: different records"), run.out);
}

void TestCli::badInputAndInterruptedRuns()
{
    const QByteArray password = PASSWORD.toUtf8() + '\n';
    BackupFile::Content content;
    content.name = QStringLiteral("Office key");
    content.serial = SOURCE_SERIAL;
    content.created = QDateTime::currentDateTimeUtc();
    content.mainImage = _image;
    content.backupImage = _oldImage;
    const QString file = path("good.pavisorbackup");
    QString errorText;
    QVERIFY(BackupFile::write(file, content, errorText) == 0);

    // Usage mistakes, each with exit code 1 and a message; --help everywhere.
    for (const QStringList& arguments : {QStringList{},
                                         {"frobnicate"},
                                         {"list", "--yes"},
                                         {"backup", file},
                                         {"check"},
                                         {"check", file, "--device", SOURCE_SERIAL},
                                         {"export", file, "--tab", "Mail"},
                                         {"export", file, "--output", "-"},
                                         {"restore", "--device", SOURCE_SERIAL},
                                         {"restore", file, "--tab"},
                                         {"backup", "--device", SOURCE_SERIAL, file, "second"}})
    {
        const Run run = cli(arguments);
        QVERIFY2(run.exitCode == 1, qPrintable(arguments.join(' ')));
        QVERIFY2(!run.err.isEmpty(), qPrintable(arguments.join(' ')));
    }
    for (const char* command : {"list", "backup", "check", "export", "restore"})
    {
        const Run run = cli({command, "--help"});
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.out.contains("Exit codes:") && run.out.contains(command), run.out);
    }

    Simulator device;
    QVERIFY(device.writeMemories(_oldImage));
    START_SIMULATOR(device, {"--serial", TARGET_SERIAL, "--byte-rate", "40000"});

    // Damaged or foreign files are refused before anything else happens.
    QFile goodFile(file);
    QVERIFY(goodFile.open(QIODevice::ReadOnly));
    const QByteArray good = goodFile.readAll();
    const int headerEnd = 20 + int(qFromLittleEndian<quint32>(good.constData() + 16));
    QList<QByteArray> damaged;
    for (int position : {0, 15, 16, 19, 24, headerEnd - 2, headerEnd + 1000,
                         headerEnd + MemoryImage::SIZE + 5, int(good.size()) - 1})
    {
        damaged.append(good);
        damaged.last()[position] = char(damaged.last()[position] ^ 0x10);
    }
    damaged << good.left(good.size() - 1) << good + 'x' << QByteArray("name,login\n") << QByteArray();
    for (const QByteArray& bytes : damaged)
    {
        QFile damagedFile(path("damaged.pavisorbackup"));
        QVERIFY(damagedFile.open(QIODevice::WriteOnly | QIODevice::Truncate));
        damagedFile.write(bytes);
        damagedFile.close();
        for (const QStringList& arguments :
             {QStringList{"check", damagedFile.fileName(), "--password-stdin"},
              QStringList{"restore", "--device", TARGET_SERIAL, damagedFile.fileName(), "--password-stdin",
                          "--yes"}})
        {
            const Run run = cli(arguments, password);
            QVERIFY2(run.exitCode == 2, qPrintable(QString::number(damaged.indexOf(bytes))));
            QVERIFY2(run.err.contains("cannot be used"), run.err);
        }
    }
    QCOMPARE(device.stateFile("main.bin"), _oldImage);

    // Unknown devices, wrong passwords, missing folders: nothing written anywhere.
    Run run = cli({"backup", "--device", "QRTAV-999999", path("unknown.pavisorbackup")});
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.contains("QRTAV-999999") && run.err.contains(TARGET_SERIAL.toUtf8()), run.err);
    run = cli({"restore", "--device", "QRTAV-999999", file, "--password-stdin", "--yes"}, password);
    QCOMPARE(run.exitCode, 2);
    run = cli({"restore", "--device", TARGET_SERIAL, file, "--password-stdin", "--yes"},
              OTHER_PASSWORD.toUtf8() + '\n');
    QCOMPARE(run.exitCode, 3);
    run = cli({"restore", "--device", TARGET_SERIAL, file, "--yes"});
    QCOMPARE(run.exitCode, 1);
    run = cli({"backup", "--device", TARGET_SERIAL, path("no/such/folder/x.pavisorbackup")});
    QCOMPARE(run.exitCode, 2);
    QCOMPARE(device.stateFile("main.bin"), _oldImage);
    QCOMPARE(device.stateFile("backup.bin"), _oldImage);

    // Passwords go to a terminal only with "--output -".
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    QVERIFY(master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0);
    const QString terminal = QString::fromLocal8Bit(ptsname(master));
    const int slave = ::open(ptsname(master), O_RDWR | O_NOCTTY);
    QVERIFY(slave >= 0);
    // The records as the terminal shows them (it turns each line feed into CR LF).
    const QByteArray records = csvOf(_tabs.at(0).passwords).replace("\n", "\r\n");
    QVERIFY(!records.isEmpty());
    const auto exportToTerminal = [&](const QString& output)
    {
        QProcess process;
        process.setStandardOutputFile(terminal);
        process.start(QStringLiteral(PAVISOR_CLI),
                      {"export", file, "--tab", _tabs.at(0).name, "--output", output, "--password-stdin"});
        process.write(password);
        process.closeWriteChannel();
        process.waitForFinished(60000);
        // The terminal hands bytes over to its master side a moment later: read until it is quiet.
        QByteArray shown;
        char buffer[4096];
        for (struct pollfd ready = {master, POLLIN, 0}; ::poll(&ready, 1, 500) > 0;)
        {
            const ssize_t size = ::read(master, buffer, sizeof(buffer));
            if (size <= 0)
                break;
            shown.append(buffer, size);
        }
        return qMakePair(process.exitCode(), shown);
    };
    for (const QString& output : {terminal, QStringLiteral("/dev/stdout")})
    {
        const auto [exitCode, shown] = exportToTerminal(output);
        QCOMPARE(exitCode, 1);
        QVERIFY(!shown.contains(records.left(records.indexOf('\r'))));
    }
    const auto [exitCode, shown] = exportToTerminal(QStringLiteral("-"));
    QCOMPARE(exitCode, 0);
    QCOMPARE(shown, records);
    ::close(slave);
    ::close(master);

    // Unplugged in the middle of a backup: an error, and no file at all.
    {
        QProcess backup;
        backup.start(QStringLiteral(PAVISOR_CLI),
                     {"backup", "--device", TARGET_SERIAL, path("cut.pavisorbackup")});
        QVERIFY(backup.waitForStarted());
        QTest::qWait(1500);
        QVERIFY(backup.state() == QProcess::Running);
        device.kill();
        QVERIFY(backup.waitForFinished(60000));
        QCOMPARE(backup.exitCode(), 2);
        QVERIFY2(backup.readAllStandardError().contains("failed"), "no failure message");
        QCOMPARE(QDir(_files.path()).entryList({"cut*"}, QDir::Files | QDir::Hidden), QStringList());
    }

    // What is read back differs from what was written: exit code 4.
    START_SIMULATOR(device, {"--serial", TARGET_SERIAL, "--read-back-differs", "backup,777"});
    run = cli({"restore", "--device", TARGET_SERIAL, file, "--password-stdin", "--yes"}, password);
    QCOMPARE(run.exitCode, 4);
    QVERIFY2(run.err.contains("Verification failed"), run.err);
    QVERIFY(device.stop());

    // A power cut while the backup memory is written: main already holds the restored content.
    QVERIFY(device.writeMemories(_oldImage));
    START_SIMULATOR(device, {"--serial", TARGET_SERIAL, "--power-cut-write", "700"});
    run = cli({"restore", "--device", TARGET_SERIAL, file, "--password-stdin", "--yes"}, password);
    QCOMPARE(run.exitCode, 2);
    QVERIFY(device.waitForExit());
    QVERIFY(holds(device.stateFile("main.bin"), PASSWORD, _tabs));
    QCOMPARE(device.stateFile("main.bin"), _image);
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
